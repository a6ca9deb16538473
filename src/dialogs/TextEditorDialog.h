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

class SettingsStore;
class UserPrompts;

/// The "Editor" window: one text buffer per slot for the text-insert action, one shown at a
/// time. The buffers mirror the slot model: user edits go to the model at once; changes made
/// elsewhere (restore, clearing) reach the buffers at the next sync.
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

    /// Brings every buffer in line with the model where the model's text changed.
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

    SlotModel& slots_;
    QPointer<QWidget> mainWindow_;
    int shownSlot_ = 1;
    bool syncing_ = false;
    std::array<QPlainTextEdit*, kSlotCount> memos_{};
    std::array<std::string, kSlotCount> mirrored_{};
    std::array<QWidget*, kSlotCount - 1> pages_{};
    std::array<QLabel*, kSlotCount> backgrounds_{};
    std::array<QLabel*, 2 * kSlotCount> texts_{};
    QLabel* buttonBar_ = nullptr;
    QPushButton* saveButton_ = nullptr;
};

}  // namespace brisko
