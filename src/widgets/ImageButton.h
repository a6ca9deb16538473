#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <array>

namespace brisko {

/// A button drawn from up to five pictures: normal, mouse over, pressed, released (after a
/// click, while the mouse is still over it) and disabled. It sizes itself to the picture it
/// shows; without any picture it is an invisible click area of the size it is given. The
/// hint is the tool tip.
class ImageButton : public QWidget {
    Q_OBJECT
public:
    enum class State { Normal, MouseOver, Pressed, Released, Disabled };
    static constexpr int kStateCount = 5;

    explicit ImageButton(QWidget* parent = nullptr);

    /// The picture of one state. A state without a picture shows the normal picture.
    void setPicture(State state, const QPixmap& picture);
    QPixmap picture(State state) const { return pictures_[std::size_t(state)]; }
    /// Sets the normal, mouse-over and pressed pictures at once (the released state shows
    /// the mouse-over picture unless set on its own).
    void setPictures(const QPixmap& normal, const QPixmap& mouseOver, const QPixmap& pressed);

    /// The state drawn now.
    State state() const;
    /// The picture drawn now (may be null).
    QPixmap currentPicture() const;

    void setHint(const QString& hint) { setToolTip(hint); }
    QString hint() const { return toolTip(); }

    QSize sizeHint() const override;

signals:
    /// A press and release of the left button over the enabled button. A receiver may hide
    /// or delete the button.
    void clicked();
    void mouseEntered();
    void mouseLeft();
    void mousePressed(Qt::MouseButton button);
    void mouseReleased(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refresh();

    std::array<QPixmap, kStateCount> pictures_;
    bool hovered_ = false;
    bool pressed_ = false;
    bool released_ = false;
};

}  // namespace brisko
