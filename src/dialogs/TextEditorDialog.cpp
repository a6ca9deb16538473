#include "TextEditorDialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "Look.h"
#include "UserPrompts.h"
#include "storage/SettingsStore.h"

namespace brisko {

namespace {
const char* const kInstruction =
    "Hier können Sie nun einen beliebigen Text, z.B. Ihre Signatur, einen Smilie oder anderes "
    "eingeben. Auf Knopfdruck wird dann dieser Text eingefügt. Vermeiden Sie aber bitte eine zu "
    "sehr verschachtelte Formatierung.";
const char* const kNote =
    "Hinweis: Nach dem Einfügen eines Textes wird der Inhalt der Zwischenablage entfernt.";

void SetTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::ButtonText, colour);
    w->setPalette(p);
}

void SetBackground(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}
}  // namespace

TextEditorDialog::TextEditorDialog(SlotModel& model, SettingsStore& store, UserPrompts& prompts,
                                   const QString& dataDirectory)
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      slots_(model) {
    setObjectName("Form5");
    setWindowTitle("Editor");
    setFont(WindowFont());
    setFixedSize(394, 406);

    const QPixmap background =
        DesignedPicture(dataDirectory, "editor-background.png", QSize(394, 361));
    for (int n = 1; n <= kSlotCount; ++n) {
        QWidget* host = this;
        if (n >= 2) {
            auto* page = new QWidget(this);
            page->setObjectName(QString("Panel%1").arg(n - 1));
            page->setGeometry(0, 0, 394, 361);
            page->hide();
            pages_[n - 2] = page;
            host = page;
        }
        auto* image = new QLabel(host);
        image->setObjectName(QString("EditorBackground%1").arg(n));
        image->setGeometry(0, 0, 394, 361);
        image->setScaledContents(true);
        image->setPixmap(background);
        backgrounds_[n - 1] = image;

        auto* instruction = new QLabel(QString::fromUtf8(kInstruction), host);
        instruction->setObjectName(QString("Label%1").arg(2 * n - 1));
        instruction->setGeometry(8, 6, 378, 46);
        instruction->setWordWrap(true);
        instruction->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QFont small = instruction->font();
        small.setPointSizeF(7.5);
        instruction->setFont(small);
        auto* note = new QLabel(QString::fromUtf8(kNote), host);
        note->setObjectName(QString("Label%1").arg(2 * n));
        note->setGeometry(9, 328, 370, 26);
        note->setWordWrap(true);
        SetTextColour(instruction, Qt::white);
        SetTextColour(note, Qt::white);
        texts_[2 * n - 2] = instruction;
        texts_[2 * n - 1] = note;

        auto* memo = new QPlainTextEdit(host);
        memo->setObjectName(QString("Memo%1").arg(n));
        memo->setGeometry(8, 56, 377, 265);
        memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        memos_[n - 1] = memo;
        connect(memo, &QPlainTextEdit::textChanged, this, [this, n, memo] {
            if (syncing_)
                return;
            std::string text = memo->toPlainText().toStdString();
            mirrored_[n - 1] = text;
            if (slots_.insertText(n) != text)
                slots_.setInsertText(n, std::move(text));
        });
    }

    buttonBar_ = new QLabel(this);
    buttonBar_->setObjectName("EditorButtonBar");
    buttonBar_->setGeometry(0, 360, 394, 46);
    buttonBar_->setScaledContents(true);
    buttonBar_->setPixmap(DesignedPicture(dataDirectory, "editor-bar.png", QSize(394, 46)));

    saveButton_ = new QPushButton("Speichern", this);
    saveButton_->setObjectName("SpeedButton1");
    saveButton_->setGeometry(296, 368, 89, 29);
    saveButton_->setFlat(true);
    saveButton_->setIcon(QIcon(DesignedPicture(dataDirectory, "buttons/save.png", QSize(16, 16))));
    SetTextColour(saveButton_, Qt::white);
    connect(saveButton_, &QPushButton::clicked, this, &TextEditorDialog::save);

    applyStyle(store, prompts, dataDirectory);
}

void TextEditorDialog::applyStyle(SettingsStore& store, UserPrompts& prompts,
                                  const QString& dataDirectory) {
    std::string style;
    RunHandler(prompts, [&] { style = OpenSettingsKey(store).read("Style"); });
    if (style == "Win95") {
        SetBackground(this, kPlainBackground);
        for (QWidget* page : pages_)
            SetBackground(page, kPlainBackground);
        for (QLabel* text : texts_)
            SetTextColour(text, Qt::black);
        SetTextColour(saveButton_, Qt::black);
        for (QLabel* image : backgrounds_)
            image->hide();
        buttonBar_->hide();
    } else if (style == "Luna") {
        for (QLabel* text : texts_)
            SetTextColour(text, kNavy);
        SetTextColour(saveButton_, kNavy);
        // Each picture is loaded in turn; the first that fails stops the styling there.
        RunHandler(prompts, [&] {
            for (QLabel* image : backgrounds_)
                image->setPixmap(LoadPicture(
                    UnderDirectory(ProgramDirectory(store, dataDirectory), "images/02.JPG")));
            buttonBar_->setPixmap(LoadPicture(
                UnderDirectory(ProgramDirectory(store, dataDirectory), "images/02.JPG")));
        });
    }
}

void TextEditorDialog::openForSlot(int slot) {
    if (!IsSlot(slot))
        return;
    if (mainWindow_)
        mainWindow_->setEnabled(false);
    if (isHidden()) {
        // Centred on the screen each time it opens.
        QScreen* screen = mainWindow_ ? mainWindow_->screen() : QGuiApplication::primaryScreen();
        if (screen)
            move(screen->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
    showBuffer(slot);
}

void TextEditorDialog::showBuffer(int slot) {
    shownSlot_ = slot;
    for (int k = 0; k < kSlotCount - 1; ++k)
        pages_[k]->setVisible(k == slot - 2);
    memos_[slot - 1]->setFocus();
}

void TextEditorDialog::syncFromModel() {
    for (int n = 1; n <= kSlotCount; ++n) {
        const std::string& text = slots_.insertText(n);
        if (text == mirrored_[n - 1])
            continue;
        mirrored_[n - 1] = text;
        syncing_ = true;
        memos_[n - 1]->setPlainText(QString::fromStdString(text));
        syncing_ = false;
    }
}

void TextEditorDialog::setTexts(const QString& instruction, const QString& note,
                                const QString& saveCaption) {
    for (int n = 0; n < kSlotCount; ++n) {
        texts_[2 * n]->setText(instruction);
        texts_[2 * n + 1]->setText(note);
    }
    saveButton_->setText(saveCaption);
}

void TextEditorDialog::save() {
    leave();
}

void TextEditorDialog::leave() {
    if (mainWindow_)
        mainWindow_->setEnabled(true);
    hide();
}

void TextEditorDialog::closeEvent(QCloseEvent* event) {
    // Closing keeps every buffer as typed, like "Speichern": nothing typed is ever lost.
    event->ignore();
    leave();
}

}  // namespace brisko
