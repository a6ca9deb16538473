#include "SlotRow.h"

#include <QAction>
#include <QActionGroup>
#include <QBuffer>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>

#include "dialogs/Look.h"
#include "hotkeys/HotkeySlot.h"
#include "platform/linux/DesktopEntry.h"
#include "widgets/ImageButton.h"
#include "widgets/Pictures.h"

namespace brisko {

namespace {
constexpr int kButtonHeight = 22;
constexpr int kButtonX = 560;
constexpr int kOpenModeX = 620;
constexpr int kNarrow = 59;
constexpr int kWide = 119;

const ExtraTexts& GermanTexts() {
    static const ExtraTexts texts;
    return texts;
}

// "%1" is the key, "%2" the desktop's trigger. In one pass, so that neither is read again as a
// placeholder, and without complaint when a translation leaves one out.
QString FillKeyText(const QString& text, const QString& key, const QString& trigger) {
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            result += text[i + 1] == '1' ? key : trigger;
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

QPixmap PaintButtonFace(const QPixmap& pic, const QString& caption, int width, int state) {
    QPixmap face(width, kButtonHeight);
    face.fill(Qt::transparent);
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor base = state == 0   ? QColor(236, 240, 250)
                        : state == 1 ? QColor(255, 250, 230)
                                     : QColor(200, 210, 235);
    p.setPen(state == 1 ? QColor(230, 140, 30) : QColor(60, 80, 140));
    p.setBrush(base);
    p.drawRoundedRect(QRectF(0.5, 0.5, width - 1, kButtonHeight - 1), 3, 3);
    const int shift = state == 2 ? 1 : 0;
    QFont font = WindowFont();
    p.setFont(font);
    const int textWidth = caption.isEmpty() ? 0 : p.fontMetrics().horizontalAdvance(caption) + 4;
    const int total = (pic.isNull() ? 0 : 16) + textWidth;
    int x = (width - total) / 2 + shift;
    if (!pic.isNull()) {
        p.drawPixmap(x, 3 + shift, 16, 16, pic);
        x += 16;
    }
    if (!caption.isEmpty()) {
        p.setPen(QColor(0, 0, 90));
        p.drawText(QRect(x + 4, shift, textWidth, kButtonHeight), Qt::AlignVCenter, caption);
    }
    return face;
}

// The face of a row button: a raised panel with the button's small picture and caption. The
// eleven rows show the same faces, painted once and shared.
QPixmap ButtonFace(const QPixmap& pic, const QString& caption, int width, int state) {
    static QHash<QString, QPixmap> faces;
    const QString key =
        QString("%1|%2|%3|%4").arg(pic.cacheKey()).arg(caption).arg(width).arg(state);
    auto it = faces.constFind(key);
    if (it == faces.constEnd())
        it = faces.insert(key, PaintButtonFace(pic, caption, width, state));
    return *it;
}

ImageButton* RowButton(QWidget* page, const QString& name, const QPixmap& icon,
                       const QString& caption, int width, const QString& hint) {
    auto* button = new ImageButton(page);
    button->setObjectName(name);
    button->setPictures(ButtonFace(icon, caption, width, 0), ButtonFace(icon, caption, width, 1),
                        ButtonFace(icon, caption, width, 2));
    button->setHint(hint);
    button->hide();
    return button;
}

template <typename W, typename V>
void SetVisible(W* w, V visible) {
    if (w->isHidden() == bool(visible))
        w->setVisible(bool(visible));
}

void Place(QWidget* w, int x, int y) {
    if (w->pos() != QPoint(x, y))
        w->move(x, y);
}
}  // namespace

SlotRow::SlotRow(QWidget* page, int n, int y, SlotModel& model, const Commands& commands,
                 const QString& dataDirectory)
    : slot_(n),
      y_(y),
      slots_(model),
      textIcon_(ShippedPicture(dataDirectory, "buttons/text.png")),
      keyMarkTexts_(&GermanTexts()) {
    keyLabel_ = new QLabel(QString("F%1").arg(n), page);
    keyLabel_->setObjectName(QString("Label%1").arg(n + 1));
    keyLabel_->setGeometry(8, y + 3, 24, 16);
    QFont bold = keyLabel_->font();
    bold.setBold(true);
    keyLabel_->setFont(bold);
    keyMark_ = new QLabel(page);
    keyMark_->setObjectName(QString("KeyMark%1").arg(n));
    keyMark_->setGeometry(0, y + 3, 8, 16);
    keyMark_->hide();

    actionList_ = new QComboBox(page);
    actionList_->setObjectName(QString("ComboBox%1").arg(n));
    actionList_->setGeometry(32, y, 241, kButtonHeight);
    actionList_->setMaxVisibleItems(8);  // opened below the field by the program's style
    for (int i = 0; i < kActionCount; ++i) {
        // "(Nichts)" has no picture; an empty one keeps its text in line with the others.
        QPixmap picture(16, 16);
        picture.fill(Qt::transparent);
        if (i > 0)
            picture = ShippedPicture(dataDirectory,
                                     QString("actions/action-%1.png").arg(i, 2, 10, QChar('0')));
        const QIcon icon(picture);
        actionList_->addItem(icon, QString::fromUtf8(kActionCaptions[i]));
    }
    actionList_->setCurrentIndex(-1);
    connect(actionList_, &QComboBox::activated, this, [this](int index) {
        if (slots_.action(slot_) != index)
            slots_.setAction(slot_, index);
    });

    pathField_ = new QLineEdit(page);
    pathField_->setObjectName(QString("Edit%1").arg(n));
    pathField_->setGeometry(280, y, 273, kButtonHeight);
    // Tab moves between the action lists; the path is reached with the mouse or Browse.
    pathField_->setFocusPolicy(Qt::ClickFocus);
    pathField_->setToolTip(QString::fromUtf8(
        "Geben Sie hier den Pfad zum gewünschten Programm ein oder klicken Sie auf "
        "\"Durchsuchen\""));
    QPalette palette = pathField_->palette();
    palette.setColor(QPalette::Active, QPalette::Base, Qt::white);
    palette.setColor(QPalette::Inactive, QPalette::Base, Qt::white);
    palette.setColor(QPalette::Disabled, QPalette::Base, palette.color(QPalette::Button));
    pathField_->setPalette(palette);
    pathField_->setEnabled(false);
    connect(pathField_, &QLineEdit::textEdited, this, [this](const QString& text) {
        std::string path = text.toStdString();
        if (slots_.programPath(slot_) != path)
            slots_.setProgramPath(slot_, std::move(path));
    });

    showModeField_ = new QLineEdit(QString::fromUtf8(ShowMode::Normal), page);
    showModeField_->setObjectName(QString("Edit%1").arg(11 + n));
    showModeField_->hide();

    browse_ =
        RowButton(page, QString("ImageButton%1").arg(13 + n),
                  ShippedPicture(dataDirectory, "buttons/browse.png"), {}, kNarrow, "Durchsuchen");
    web_ = RowButton(page, QString("ImageButton%1").arg(25 + n),
                     ShippedPicture(dataDirectory, "buttons/web.png"), {}, kNarrow,
                     "Webseite auswählen");
    openMode_ = RowButton(page, QString("ImageButton%1").arg(55 + n),
                          ShippedPicture(dataDirectory, "buttons/openmode.png"), {}, kNarrow,
                          QString::fromUtf8("Öffnungsart bestimmen"));
    text_ = RowButton(page, QString("ImageButton%1").arg(44 + n), textIcon_, "Text eingeben", kWide,
                      "Text eingeben");
    connect(browse_, &ImageButton::clicked, this, [this, commands] {
        if (commands.browse)
            commands.browse(slot_);
    });
    connect(web_, &ImageButton::clicked, this, [this, commands] {
        if (commands.webAddress)
            commands.webAddress(slot_);
    });
    connect(openMode_, &ImageButton::clicked, this, [this, commands] {
        if (commands.openMode)
            commands.openMode(slot_);
    });
    connect(text_, &ImageButton::clicked, this, [this, commands] {
        if (commands.text)
            commands.text(slot_);
    });

    menu_ = new QMenu(page);
    menu_->setObjectName(QString("PopupMenu%1").arg(n + 2));
    auto* group = new QActionGroup(menu_);
    group->setExclusive(true);
    const char* captions[3] = {"&Normal", "M&aximiert", "M&inimiert"};
    const char* modes[3] = {ShowMode::Normal, ShowMode::Maximized, ShowMode::Minimized};
    const char* firstRowNames[3] = {"Normal1", "Maximiert1", "Minimiert1"};
    for (int k = 0; k < 3; ++k) {
        QAction* item = menu_->addAction(QString::fromUtf8(captions[k]));
        item->setObjectName(n == 1 ? QString(firstRowNames[k])
                                   : QString("MenuItem%1").arg(3 * n - 5 + k));
        item->setCheckable(true);
        group->addAction(item);
        const char* mode = modes[k];
        connect(item, &QAction::triggered, this, [this, mode] { chooseShowMode(mode); });
        modeItems_[k] = item;
    }
    modeItems_[0]->setChecked(true);
}

void SlotRow::setKeyState(const KeyState& state) {
    if (state.mark == shownKeyState_.mark && state.trigger == shownKeyState_.trigger)
        return;
    shownKeyState_ = state;
    QString colour = "#c0392b";
    QString why;
    const auto text = [&](ExtraText which) {
        return FillKeyText(QString::fromStdString((*keyMarkTexts_)[which]),
                           QString("F%1").arg(slot_), QString::fromStdString(state.trigger));
    };
    switch (state.mark) {
        case KeyMark::None:
            break;
        case KeyMark::Held:
            colour = "#2e8b57";
            why = text(ExtraText::KeyHeld);
            break;
        case KeyMark::OtherTrigger:
            colour = "#d68910";
            why = text(ExtraText::KeyOtherTrigger);
            break;
        case KeyMark::TakenElsewhere:
            why = text(ExtraText::KeyTakenElsewhere);
            break;
        case KeyMark::NoTrigger:
            why = text(ExtraText::KeyNoTrigger);
            break;
        case KeyMark::Refused:
            why = text(ExtraText::KeyRefused);
            break;
        case KeyMark::NoService:
            why = text(ExtraText::KeyNoService);
            break;
    }
    keyMark_->setText(why.isEmpty() ? QString() : QString::fromUtf8("\u25CF"));
    keyMark_->setStyleSheet(QString("color: %1; font-size: 7pt;").arg(colour));
    keyMark_->setToolTip(why);
    keyLabel_->setToolTip(why);
    keyMark_->setVisible(!why.isEmpty());
}

void SlotRow::setKeyMarkTexts(const ExtraTexts& texts) {
    keyMarkTexts_ = &texts;
    const KeyState shown = shownKeyState_;
    shownKeyState_ = KeyState{};
    setKeyState(shown);
}

void SlotRow::setTextButtonCaption(const QString& caption) {
    text_->setPictures(ButtonFace(textIcon_, caption, kWide, 0),
                       ButtonFace(textIcon_, caption, kWide, 1),
                       ButtonFace(textIcon_, caption, kWide, 2));
}

void SlotRow::chooseShowMode(const char* mode) {
    slots_.setShowMode(slot_, mode);
    showShowMode(mode);
}

void SlotRow::showShowMode(const char* mode) {
    const int index = std::string(mode) == ShowMode::Normal      ? 0
                      : std::string(mode) == ShowMode::Maximized ? 1
                                                                 : 2;
    if (!modeItems_[index]->isChecked())
        modeItems_[index]->setChecked(true);
    const QString text = QString::fromLatin1(mode);
    if (showModeField_->text() != text)
        showModeField_->setText(text);
}

void SlotRow::showApplicationHint(const std::string& path) {
    hintedPath_ = path;
    const auto entry =
        desktop::IsDesktopEntryName(path) ? desktop::DesktopEntry::Load(path) : std::nullopt;
    if (!entry) {
        if (applicationIcon_) {
            pathField_->setToolTip(plainPathHint_);
            delete applicationIcon_;
            applicationIcon_ = nullptr;
        }
        return;
    }
    const QString icon = QString::fromStdString(entry->iconName());
    const QIcon picture = icon.startsWith('/') ? QIcon(icon) : QIcon::fromTheme(icon);
    QString image;
    if (!picture.isNull()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.pixmap(32, 32).save(&buffer, "PNG");
        image = "<img src=\"data:image/png;base64," + QString::fromLatin1(png.toBase64()) +
                "\" width=\"32\" height=\"32\" style=\"vertical-align: middle\"> ";
    }
    if (!applicationIcon_) {
        plainPathHint_ = pathField_->toolTip();
        applicationIcon_ = pathField_->addAction(picture, QLineEdit::LeadingPosition);
    }
    applicationIcon_->setIcon(picture);
    pathField_->setToolTip("<p style=\"white-space: pre\">" + image + "<b>" +
                           QString::fromStdString(entry->name()).toHtmlEscaped() + "</b></p>");
}

void SlotRow::sync() {
    const HotkeySlot& s = slots_.slot(slot_);
    const int i = s.action;

    if (actionList_->currentIndex() != i)
        actionList_->setCurrentIndex(i);
    const QString path = QString::fromStdString(s.programPath);
    if (pathField_->text() != path)
        pathField_->setText(path);
    if (s.programPath != hintedPath_)
        showApplicationHint(s.programPath);

    // Row layout.
    const bool program = i == static_cast<int>(ActionKind::CustomProgram);
    const bool webPage = i == static_cast<int>(ActionKind::WebPage);
    const bool insertText = i == static_cast<int>(ActionKind::InsertText);
    SetVisible(openMode_, program || webPage);
    Place(openMode_, kOpenModeX, y_);
    if (pathField_->isEnabled() != program)
        pathField_->setEnabled(program);
    SetVisible(browse_, program);
    Place(browse_, kButtonX, y_);
    SetVisible(web_, webPage);
    Place(web_, kButtonX, y_);
    SetVisible(text_, insertText);
    Place(text_, kButtonX, y_);

    // Check marks follow the show mode; an unknown text leaves field and marks alone.
    const std::string& mode = slots_.slot(slot_).showMode;
    if (mode == ShowMode::Normal || mode == ShowMode::Maximized || mode == ShowMode::Minimized)
        showShowMode(mode == ShowMode::Normal      ? ShowMode::Normal
                     : mode == ShowMode::Maximized ? ShowMode::Maximized
                                                   : ShowMode::Minimized);
    else if (showModeField_->text().toStdString() != mode)
        showModeField_->setText(QString::fromStdString(mode));

    // Hint of the web-address button.
    if (!hintShown_ || s.webAddress != shownWebAddress_) {
        hintShown_ = true;
        shownWebAddress_ = s.webAddress;
        web_->setHint(s.webAddress.empty()
                          ? QString::fromUtf8("Webseite auswählen")
                          : QString::fromUtf8("Webseite auswählen (Aktuelle Webseite: ") +
                                QString::fromStdString(s.webAddress) + ")");
    }
}

}  // namespace brisko
