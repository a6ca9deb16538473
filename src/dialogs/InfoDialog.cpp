#include "InfoDialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include "BriskoVersion.h"
#include "Look.h"
#include "widgets/PictureLabel.h"

namespace brisko {

InfoDialog::InfoDialog(const QString& dataDirectory)
    : ProgramDialog("Form2", "Info", QSize(379, 252), Qt::Dialog | Qt::FramelessWindowHint) {
    auto* picture = new PictureLabel(this);
    picture->setObjectName("Image1");
    picture->setGeometry(0, 0, 379, 252);
    picture->setDesignedPicture(ShippedPicturePath(dataDirectory, "info.png"));
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    version_ = new QLabel(QStringLiteral("Version " BRISKO_VERSION), this);
    version_->setObjectName("Label1");
    version_->adjustSize();
    version_->move(312, 224);
    QPalette white = version_->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    version_->setPalette(white);
}

void InfoDialog::mousePressEvent(QMouseEvent* event) {
    // The version text takes its clicks itself; everything else is the picture.
    if (childAt(event->position().toPoint()) == version_)
        return;
    close();
}

void InfoDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    ProgramDialog::keyPressEvent(event);
}

}  // namespace brisko
