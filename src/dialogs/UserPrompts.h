#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <string>

#include "hotkeys/BriskoError.h"

namespace brisko {

/// The modal questions and messages the program puts to the user. The windows ask through
/// this so that tests can answer without a person at the screen.
class UserPrompts : public ErrorSink {
public:
    /// The window the boxes are centred on while it is visible.
    virtual void setParentWindow(QWidget* window) { (void)window; }
    /// Error box: stop icon, title "Brisko", one OK button.
    void ShowError(const std::string& text) override = 0;
    /// Plain message box titled "Brisko" with one OK button.
    virtual void ShowMessage(const QString& text) = 0;
    /// Information box with one OK button; true when it was closed with OK.
    virtual bool ShowInformation(const QString& title, const QString& text) = 0;
    /// Question box with Yes and No; true for Yes.
    virtual bool AskYesNo(const QString& title, const QString& text) = 0;
    /// One-line input box; nullopt on Cancel.
    virtual std::optional<QString> InputText(const QString& title, const QString& prompt,
                                             const QString& preset) = 0;
    /// File-open dialog; nullopt on Cancel. mustExist false lets the user name any file.
    /// places are folders offered in the dialog's side bar besides the usual ones.
    virtual std::optional<QString> ChooseOpenFile(const QString& title, const QString& filter,
                                                  const QString& start, bool mustExist,
                                                  const QStringList& places = {}) = 0;
    /// File-save dialog that asks before overwriting and appends the default suffix.
    virtual std::optional<QString> ChooseSaveFile(const QString& filter, const QString& suffix,
                                                  const QString& start) = 0;
    /// The desktop's default beep.
    virtual void Beep() = 0;
};

}  // namespace brisko
