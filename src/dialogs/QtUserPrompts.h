#pragma once

#include <QPointer>
#include <QWidget>

#include "UserPrompts.h"

namespace brisko {

/// The prompts as real Qt message boxes and dialogs, parented to the given window.
class QtUserPrompts : public UserPrompts {
public:
    void setParentWindow(QWidget* parent) override { parent_ = parent; }

    void ShowError(const std::string& text) override;
    void ShowMessage(const QString& text) override;
    bool ShowInformation(const QString& title, const QString& text) override;
    bool AskYesNo(const QString& title, const QString& text) override;
    std::optional<QString> InputText(const QString& title, const QString& prompt,
                                     const QString& preset) override;
    std::optional<QString> ChooseOpenFile(const QString& title, const QString& filter,
                                          const QString& start, bool mustExist,
                                          const QStringList& places) override;
    std::optional<QString> ChooseSaveFile(const QString& filter, const QString& suffix,
                                          const QString& start) override;
    void Beep() override;

private:
    QWidget* parent() const;
    QPointer<QWidget> parent_;
};

}  // namespace brisko
