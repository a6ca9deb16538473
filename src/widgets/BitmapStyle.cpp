#include "BitmapStyle.h"

#include <qdrawutil.h>
#include <QAbstractButton>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOption>

#include "Pictures.h"

namespace brisko {

namespace {

constexpr int kButtonFrameWidth = 75;
constexpr int kButtonFrameHeight = 23;
constexpr int kButtonBorder = 3;
constexpr int kIndicatorSize = 13;

// Frames of the button strip.
enum ButtonFrame { kNormal = 0, kHot = 1, kPressed = 2, kDisabled = 3, kDefault = 4 };

QColor menuHighlight(BitmapStyle::Set set) {
    return set == BitmapStyle::Set::Luna ? QColor(49, 106, 197) : QColor(178, 180, 191);
}

QColor menuHighlightText(BitmapStyle::Set set) {
    return set == BitmapStyle::Set::Luna ? QColor(Qt::white) : QColor(Qt::black);
}

const QColor kMenuBackground(252, 252, 249);
const QColor kMenuFrame(172, 168, 153);

}  // namespace

QString BitmapStyle::setFolder(Set set) {
    return set == Set::Luna ? QStringLiteral("luna") : QStringLiteral("silver");
}

BitmapStyle::BitmapStyle(Set set, const QString& imagesDirectory)
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), set_(set) {
    const QString folder = imagesDirectory + "/theme/" + setFolder(set) + "/";
    button_ = Pictures::masked(folder + "button.png");
    checkBox_ = Pictures::masked(folder + "checkbox.png");
    radio_ = Pictures::masked(folder + "radio.png");
}

void BitmapStyle::drawButtonPanel(const QStyleOption* option, QPainter* painter) const {
    int frame = kNormal;
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    if (!(option->state & State_Enabled))
        frame = kDisabled;
    else if (option->state & (State_Sunken | State_On))
        frame = kPressed;
    else if (option->state & State_MouseOver)
        frame = kHot;
    else if ((button && (button->features & QStyleOptionButton::DefaultButton)) ||
             (option->state & State_HasFocus))
        frame = kDefault;
    const QRect source(frame * kButtonFrameWidth, 0, kButtonFrameWidth, kButtonFrameHeight);
    const QMargins border(kButtonBorder, kButtonBorder, kButtonBorder, kButtonBorder);
    qDrawBorderPixmap(painter, option->rect, border, button_, source, border,
                      QTileRules(Qt::StretchTile));
}

void BitmapStyle::drawIndicator(const QPixmap& strip, const QStyleOption* option,
                                QPainter* painter) const {
    int frame = 0;
    if (!(option->state & State_Enabled))
        frame = 3;
    else if (option->state & State_Sunken)
        frame = 2;
    else if (option->state & State_MouseOver)
        frame = 1;
    if (option->state & (State_On | State_NoChange))
        frame += 4;
    const QRect source(frame * kIndicatorSize, 0, kIndicatorSize, kIndicatorSize);
    QRect target(0, 0, kIndicatorSize, kIndicatorSize);
    target.moveCenter(option->rect.center());
    painter->drawPixmap(target, strip, source);
}

void BitmapStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    switch (element) {
        case PE_PanelButtonCommand: {
            const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
            // Flat buttons keep the base look: they show only their picture and text.
            if (button && (button->features & QStyleOptionButton::Flat))
                break;
            drawButtonPanel(option, painter);
            return;
        }
        case PE_FrameDefaultButton:
        case PE_FrameButtonBevel:
            return;  // the strip has its own default frame
        case PE_IndicatorCheckBox:
            drawIndicator(checkBox_, option, painter);
            return;
        case PE_IndicatorRadioButton:
            drawIndicator(radio_, option, painter);
            return;
        case PE_FrameMenu:
            painter->save();
            painter->setPen(kMenuFrame);
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            painter->restore();
            return;
        case PE_PanelMenu:
            painter->fillRect(option->rect, kMenuBackground);
            return;
        case PE_PanelMenuBar:
            painter->fillRect(option->rect, option->palette.window());
            return;
        default:
            break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void BitmapStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
    switch (element) {
        case CE_MenuBarEmptyArea:
            painter->fillRect(option->rect, option->palette.window());
            return;
        case CE_MenuBarItem: {
            const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
            if (!item)
                break;
            const bool hot = (option->state & State_Enabled) &&
                             (option->state & (State_Selected | State_Sunken));
            painter->fillRect(option->rect,
                              hot ? menuHighlight(set_) : option->palette.window().color());
            QPalette palette = option->palette;
            palette.setColor(QPalette::ButtonText,
                             hot ? menuHighlightText(set_) : option->palette.windowText().color());
            const int flags =
                Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine |
                (styleHint(SH_UnderlineShortcut, option, widget) ? 0 : int(Qt::TextHideMnemonic));
            drawItemText(painter, option->rect, flags, palette, option->state & State_Enabled,
                         item->text, QPalette::ButtonText);
            return;
        }
        case CE_MenuItem: {
            const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
            if (!item)
                break;
            // Flat: a plain background and a plain highlight bar, drawn by the base style
            // with the set's colours.
            QStyleOptionMenuItem flat = *item;
            flat.palette.setColor(QPalette::Window, kMenuBackground);
            flat.palette.setColor(QPalette::Base, kMenuBackground);
            flat.palette.setColor(QPalette::Highlight, menuHighlight(set_));
            flat.palette.setColor(QPalette::HighlightedText, menuHighlightText(set_));
            painter->fillRect(option->rect, kMenuBackground);
            QProxyStyle::drawControl(element, &flat, painter, widget);
            return;
        }
        default:
            break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

int BitmapStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                           QStyleHintReturn* returnData) const {
    // Drop-down lists open below their field, as many entries high as the list allows,
    // instead of over it with every entry.
    if (hint == SH_ComboBox_Popup)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

int BitmapStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                             const QWidget* widget) const {
    switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return kIndicatorSize;
        case PM_MenuPanelWidth:
        case PM_MenuBarPanelWidth:
            return 1;
        case PM_ButtonDefaultIndicator:
            return 0;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void BitmapStyle::polish(QWidget* widget) {
    QProxyStyle::polish(widget);
    // Hover states are drawn from the strips, so these controls need hover events.
    if (qobject_cast<QAbstractButton*>(widget))
        widget->setAttribute(Qt::WA_Hover, true);
}

}  // namespace brisko
