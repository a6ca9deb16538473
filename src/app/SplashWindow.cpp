#include "SplashWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "dialogs/Look.h"
#include "widgets/Pictures.h"

namespace brisko {

SplashWindow::SplashWindow(const QString& dataDirectory)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("SplashScreenForm");
    setWindowTitle("SplashScreen");
    setFont(WindowFont());
    setFixedSize(379, 252);
    picture_ = DesignedPicture(dataDirectory, "splash.png", size());
    centre();
}

void SplashWindow::centre() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(rect(), picture_);
    p.setPen(Qt::white);
    p.setFont(font());
    p.drawText(QPoint(272, 224 + p.fontMetrics().ascent()), "Es wird geladen ...");
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
