#include "TextEditorDialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "Look.h"
#include "UserPrompts.h"
#include "storage/SettingsStore.h"
#include "widgets/PictureLabel.h"

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
        auto* image = new PictureLabel(host);
        image->setObjectName(QString("EditorBackground%1").arg(n));
        image->setGeometry(0, 0, 394, 361);
        image->setDesignedPicture(ShippedPicturePath(dataDirectory, "editor-background.png"));
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
            if (syncing_ || n != filledSlot_)
                return;
            slots_.setInsertText(n, memo->toPlainText().toStdString());
            filledRevision_ = slots_.revision(n);
        });
    }

    buttonBar_ = new PictureLabel(this);
    buttonBar_->setObjectName("EditorButtonBar");
    buttonBar_->setGeometry(0, 360, 394, 46);
    buttonBar_->setDesignedPicture(ShippedPicturePath(dataDirectory, "editor-bar.png"));

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
    InterfaceStyle style = InterfaceStyle::Blue;
    RunHandler(prompts, [&] { style = ReadInterfaceStyle(store); });
    if (style == InterfaceStyle::Win95) {
        SetBackground(this, kPlainBackground);
        for (QWidget* page : pages_)
            SetBackground(page, kPlainBackground);
        for (QLabel* text : texts_)
            SetTextColour(text, Qt::black);
        SetTextColour(saveButton_, Qt::black);
        for (PictureLabel* image : backgrounds_)
            image->hide();
        buttonBar_->hide();
    } else if (style == InterfaceStyle::Luna) {
        for (QLabel* text : texts_)
            SetTextColour(text, kNavy);
        SetTextColour(saveButton_, kNavy);
        // Each picture is loaded in turn; the first that fails stops the styling there.
        RunHandler(prompts, [&] {
            for (PictureLabel* image : backgrounds_)
                image->setPictureFile(
                    UnderDirectory(ProgramDirectory(store, dataDirectory), "images/02.JPG"));
            buttonBar_->setPictureFile(
                UnderDirectory(ProgramDirectory(store, dataDirectory), "images/02.JPG"));
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
    if (filledSlot_ != slot) {
        if (filledSlot_)
            emptyBuffer(filledSlot_);
        fillBuffer(slot);
    }
    shownSlot_ = slot;
    for (int k = 0; k < kSlotCount - 1; ++k)
        pages_[k]->setVisible(k == slot - 2);
    memos_[slot - 1]->setFocus();
}

void TextEditorDialog::fillBuffer(int slot) {
    QPlainTextEdit* memo = memos_[slot - 1];
    syncing_ = true;
    memo->setPlainText(QString::fromStdString(slots_.insertText(slot)));
    syncing_ = false;
    const Caret caret = carets_[slot - 1];
    QTextCursor cursor = memo->textCursor();
    const int end = memo->document()->characterCount() - 1;
    cursor.setPosition(std::min(caret.anchor, end));
    cursor.setPosition(std::min(caret.position, end), QTextCursor::KeepAnchor);
    memo->setTextCursor(cursor);
    filledSlot_ = slot;
    filledRevision_ = slots_.revision(slot);
}

void TextEditorDialog::emptyBuffer(int slot) {
    QPlainTextEdit* memo = memos_[slot - 1];
    const QTextCursor cursor = memo->textCursor();
    carets_[slot - 1] = {cursor.position(), cursor.anchor()};
    syncing_ = true;
    memo->setPlainText(QString());
    syncing_ = false;
    if (filledSlot_ == slot)
        filledSlot_ = 0;
}

void TextEditorDialog::syncFromModel() {
    if (!filledSlot_ || slots_.revision(filledSlot_) == filledRevision_)
        return;
    const int slot = filledSlot_;
    // Another field of the slot may have changed; a text that did not keeps its caret.
    filledRevision_ = slots_.revision(slot);
    if (memos_[slot - 1]->toPlainText().toStdString() == slots_.insertText(slot))
        return;
    emptyBuffer(slot);
    fillBuffer(slot);
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
    if (filledSlot_)
        emptyBuffer(filledSlot_);
}

void TextEditorDialog::closeEvent(QCloseEvent* event) {
    // Closing keeps every buffer as typed, like "Speichern": nothing typed is ever lost.
    event->ignore();
    leave();
}

}  // namespace brisko
