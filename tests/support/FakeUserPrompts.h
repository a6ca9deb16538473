#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

#include "dialogs/UserPrompts.h"

namespace brisko::testing {

/// Answers the program's boxes and dialogs from a script and records what was asked, one line
/// per box, e.g. `Error: text`, `YesNo: title | text`, `Input: title | prompt | preset`.
class FakeUserPrompts : public UserPrompts {
public:
    void ShowError(const std::string& text) override {
        log << "Error: " + QString::fromStdString(text);
    }
    void ShowMessage(const QString& text) override { log << "Message: " + text; }
    bool ShowInformation(const QString& title, const QString& text) override {
        log << "Information: " + title + " | " + text;
        return informationOk;
    }
    bool AskYesNo(const QString& title, const QString& text) override {
        log << "YesNo: " + title + " | " + text;
        return yes;
    }
    std::optional<QString> InputText(const QString& title, const QString& prompt,
                                     const QString& preset) override {
        log << "Input: " + title + " | " + prompt + " | " + preset;
        return next(inputs);
    }
    std::optional<QString> ChooseOpenFile(const QString& title, const QString& filter,
                                          const QString& start, bool mustExist,
                                          const QStringList& places) override {
        log << "Open: " + title + " | " + filter + " | " + start +
                   (mustExist ? " | must exist" : "") +
                   (places.isEmpty() ? QString() : " | places " + places.join(", "));
        return next(files);
    }
    std::optional<QString> ChooseSaveFile(const QString& filter, const QString& suffix,
                                          const QString& start) override {
        log << "Save: " + filter + " | " + suffix + " | " + start;
        return next(files);
    }
    void Beep() override { log << "Beep"; }

    /// Lines of the log that start with the prefix.
    QStringList named(const QString& prefix) const {
        return log.filter(QRegularExpression("^" + QRegularExpression::escape(prefix)));
    }

    QStringList log;
    bool informationOk = true;
    bool yes = true;
    /// Answers of the input box and of the file dialogs, in order; nullopt is Cancel. When
    /// empty, the box is cancelled.
    std::deque<std::optional<QString>> inputs;
    std::deque<std::optional<QString>> files;

private:
    static std::optional<QString> next(std::deque<std::optional<QString>>& answers) {
        if (answers.empty() || !answers.front().has_value()) {
            if (!answers.empty())
                answers.pop_front();
            return std::nullopt;
        }
        const QString text = *answers.front();
        answers.pop_front();
        return text;
    }
};

}  // namespace brisko::testing
