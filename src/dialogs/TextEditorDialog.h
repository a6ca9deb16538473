#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <string>

#include "hotkeys/HotkeySlot.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace brisko {

class PictureLabel;
class SettingsStore;
class UserPrompts;

/// The "Editor" window: one text buffer per slot for the text-insert action, one shown at a
/// time. The texts live in the slot model only: the buffer of the slot being edited holds a
/// document while the editor is open, every other buffer is empty. User edits go to the model
/// at once; changes made elsewhere (restore, clearing) reach the open buffer at the next sync.
class TextEditorDialog : public QWidget {
    Q_OBJECT
public:
    /// Creates the hidden window and styles it once from the stored "Style".
    TextEditorDialog(SlotModel& model, SettingsStore& store, UserPrompts& prompts,
                     const QString& dataDirectory);

    /// The window that is disabled while the editor is open.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }

    /// Disables the main window, shows the editor with slot n's buffer as the only one visible.
    void openForSlot(int slot);
    /// The slot whose buffer is visible.
    int shownSlot() const { return shownSlot_; }
    QPlainTextEdit* buffer(int slot) const { return memos_.at(slot - 1); }

    /// Brings the open buffer in line with the model where the model's text changed.
    void syncFromModel();

    /// The language file's texts: instruction, note and the save button's caption.
    void setTexts(const QString& instruction, const QString& note, const QString& save);

    /// "Speichern": keeps the texts, enables the main window and hides the editor.
    void save();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showBuffer(int slot);
    void applyStyle(SettingsStore& store, UserPrompts& prompts, const QString& dataDirectory);
    void leave();
    /// Fills the slot's buffer from the model, with its caret where it was left.
    void fillBuffer(int slot);
    /// Empties the slot's buffer, keeping where its caret was.
    void emptyBuffer(int slot);

    struct Caret {
        int position = 0;
        int anchor = 0;
    };

    SlotModel& slots_;
    QPointer<QWidget> mainWindow_;
    int shownSlot_ = 1;
    int filledSlot_ = 0;  // the slot whose buffer holds its text; 0 when none does
    unsigned long long filledRevision_ = 0;
    bool syncing_ = false;
    std::array<QPlainTextEdit*, kSlotCount> memos_{};
    std::array<Caret, kSlotCount> carets_{};
    std::array<QWidget*, kSlotCount - 1> pages_{};
    std::array<PictureLabel*, kSlotCount> backgrounds_{};
    std::array<QLabel*, 2 * kSlotCount> texts_{};
    PictureLabel* buttonBar_ = nullptr;
    QPushButton* saveButton_ = nullptr;
};

}  // namespace brisko
