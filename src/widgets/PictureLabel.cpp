#include "PictureLabel.h"

#include <QPainter>

#include "Pictures.h"

namespace brisko {

PictureLabel::PictureLabel(QWidget* parent) : QLabel(parent) {}

void PictureLabel::setDesignedPicture(const QString& name) {
    source_ = name;
    designed_ = true;
    pixmap_ = QPixmap();
    update();
}

void PictureLabel::setPictureFile(const QString& path) {
    Pictures::get(path);  // reports a broken file now
    source_ = path;
    designed_ = false;
    pixmap_ = QPixmap();
    update();
}

void PictureLabel::paintEvent(QPaintEvent*) {
    if (source_.isEmpty())
        return;
    if (pixmap_.isNull())
        pixmap_ = designed_ ? Pictures::designed(source_, size()) : Pictures::get(source_);
    QPainter painter(this);
    painter.drawPixmap(rect(), pixmap_);
}

void PictureLabel::hideEvent(QHideEvent* event) {
    QLabel::hideEvent(event);
    if (pixmap_.isNull())
        return;
    pixmap_ = QPixmap();
    Pictures::releaseUnused();
}

}  // namespace brisko
