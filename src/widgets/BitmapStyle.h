#pragma once

#include <QPixmap>
#include <QProxyStyle>
#include <QString>

namespace brisko {

/// The program's look for menus and simple controls: flat menus and menu bars, and push
/// buttons, check boxes and radio buttons painted from the program's picture strips (magenta
/// marks the transparent parts), drop-down lists that open below their field. Everything else
/// is drawn by the base style.
///
/// Strips, under images/theme/<set>/: button.png (five states side by side: normal, hot,
/// pressed, disabled, default; each 75x23, drawn stretched with 3-pixel fixed borders),
/// checkbox.png and radio.png (13x13 frames: unchecked normal, hot, pressed, disabled, then
/// checked normal, hot, pressed, disabled).
class BitmapStyle : public QProxyStyle {
    Q_OBJECT
public:
    enum class Set { Luna, Silver };

    /// Reads the strips of the set from imagesDirectory (BriskoError when one is missing).
    explicit BitmapStyle(Set set, const QString& imagesDirectory);
    Set set() const { return set_; }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void polish(QWidget* widget) override;
    using QProxyStyle::polish;

    /// Folder name of a set under images/theme/: "luna" or "silver".
    static QString setFolder(Set set);

private:
    void drawIndicator(const QPixmap& strip, const QStyleOption* option, QPainter* painter) const;
    void drawButtonPanel(const QStyleOption* option, QPainter* painter) const;

    Set set_;
    QPixmap button_;
    QPixmap checkBox_;
    QPixmap radio_;
};

}  // namespace brisko
