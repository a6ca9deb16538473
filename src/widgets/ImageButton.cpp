#include "ImageButton.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace brisko {

ImageButton::ImageButton(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void ImageButton::setPicture(State state, const QPixmap& picture) {
    pictures_[std::size_t(state)] = picture;
    refresh();
}

void ImageButton::setPictures(const QPixmap& normal, const QPixmap& mouseOver,
                              const QPixmap& pressed) {
    pictures_[std::size_t(State::Normal)] = normal;
    pictures_[std::size_t(State::MouseOver)] = mouseOver;
    pictures_[std::size_t(State::Pressed)] = pressed;
    refresh();
}

ImageButton::State ImageButton::state() const {
    if (!isEnabled())
        return State::Disabled;
    if (pressed_)
        return State::Pressed;
    if (released_ && hovered_)
        return State::Released;
    if (hovered_)
        return State::MouseOver;
    return State::Normal;
}

QPixmap ImageButton::currentPicture() const {
    const State s = state();
    const QPixmap& own = pictures_[std::size_t(s)];
    if (!own.isNull())
        return own;
    // A state without its own picture borrows the nearest one that is drawn.
    if (s == State::Released && !pictures_[std::size_t(State::MouseOver)].isNull())
        return pictures_[std::size_t(State::MouseOver)];
    return pictures_[std::size_t(State::Normal)];
}

QSize ImageButton::sizeHint() const {
    const QPixmap picture = currentPicture();
    return picture.isNull() ? size() : picture.deviceIndependentSize().toSize();
}

void ImageButton::refresh() {
    const QPixmap picture = currentPicture();
    if (!picture.isNull()) {
        const QSize wanted = picture.deviceIndependentSize().toSize();
        if (size() != wanted)
            resize(wanted);
    }
    update();
}

void ImageButton::paintEvent(QPaintEvent*) {
    const QPixmap picture = currentPicture();
    if (picture.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture);
}

void ImageButton::enterEvent(QEnterEvent*) {
    hovered_ = true;
    refresh();
    emit mouseEntered();
}

void ImageButton::leaveEvent(QEvent*) {
    hovered_ = false;
    released_ = false;
    refresh();
    emit mouseLeft();
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        released_ = false;
        refresh();
    }
    emit mousePressed(event->button());
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasPressed = pressed_ && event->button() == Qt::LeftButton;
    if (wasPressed) {
        pressed_ = false;
        hovered_ = rect().contains(event->position().toPoint());
        released_ = hovered_;
        refresh();
    }
    // A receiver of the release may hide or delete this button (a page switch, a quit).
    QPointer<ImageButton> self(this);
    emit mouseReleased(event->button());
    // A click is a press and release of the left button over the button.
    if (self && wasPressed && released_ && isEnabled())
        emit clicked();
}

void ImageButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            pressed_ = released_ = false;
        refresh();
    }
    QWidget::changeEvent(event);
}

}  // namespace brisko
