#include "SplashWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHideEvent>
#include <QPainter>
#include <QScreen>

#include "dialogs/Look.h"
#include "widgets/Pictures.h"

namespace brisko {

SplashWindow::SplashWindow(const QString& dataDirectory)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picturePath_(ShippedPicturePath(dataDirectory, "splash.png")) {
    setObjectName("SplashScreenForm");
    setWindowTitle("SplashScreen");
    setFont(WindowFont());
    setFixedSize(379, 252);
    centre();
}

void SplashWindow::centre() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void SplashWindow::paintEvent(QPaintEvent*) {
    // The shipped picture carries the text "Es wird geladen ...": a program started into the
    // notification area then never loads a font. Only its stand-in needs the text drawn.
    if (picture_.isNull()) {
        try {
            picture_ = Pictures::get(picturePath_);
            standIn_ = false;
        } catch (const std::exception&) {
            picture_ = Pictures::designed(picturePath_, size());
            standIn_ = true;
        }
    }
    QPainter p(this);
    p.drawPixmap(rect(), picture_);
    if (standIn_) {
        p.setPen(Qt::white);
        p.setFont(font());
        p.drawText(QPoint(272, 224 + p.fontMetrics().ascent()), "Es wird geladen ...");
    }
}

void SplashWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    picture_ = QPixmap();
    Pictures::releaseUnused();
    // Its window and the image behind it go; showing the splash again would create them anew.
    if (!event->spontaneous() && testAttribute(Qt::WA_WState_Created))
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isHidden())
                    destroy();
            },
            Qt::QueuedConnection);
}

void SplashWindow::finish() {
    if (finishing_)
        return;
    finishing_ = true;
    close();
}

void SplashWindow::closeEvent(QCloseEvent* event) {
    if (!finishing_) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

}  // namespace brisko
