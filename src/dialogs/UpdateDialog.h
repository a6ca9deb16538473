#pragma once

#include <QString>
#include <array>

#include "ProgramDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace brisko {

class SettingsStore;
class PictureLabel;
class UrlOpener;
class UserPrompts;
class VersionFetcher;

/// The update window "Brisko aktalisieren": fetches the version file of the maker's web site,
/// shows the version on offer beside the running one and enables the download when they
/// differ. The download itself is left to the user's browser.
class UpdateDialog : public ProgramDialog {
    Q_OBJECT
public:
    struct Config {
        QString site;             ///< the maker's web site, without a trailing "/"
        QString localCopy;        ///< where the fetched version file is kept
        QString dataDirectory;    ///< where the shipped pictures lie
        QString httpModule = {};  ///< the http module, loaded at the first check (HttpGet.h)
    };

    /// Creates the hidden window and styles it once from the stored "Style".
    UpdateDialog(SettingsStore& store, UserPrompts& prompts, UrlOpener& opener, Config config);
    ~UpdateDialog() override;

    /// The download notice, the fetch failure and the same-version message (language lines
    /// 104 to 106).
    void setMessages(const std::array<QString, 3>& messages) { messages_ = messages; }
    const std::array<QString, 3>& messages() const { return messages_; }
    /// Makes every text fit its place (again after a language file replaced them).
    void fitTexts();
    /// "Brisko 3.6": product name, one blank, version.
    static QString RunningVersion();

    VersionFetcher& fetcher() { return *fetcher_; }
    QLineEdit* offeredVersion() const { return offered_; }
    QPushButton* checkButton() const { return check_; }
    QPushButton* downloadButton() const { return download_; }
    QUrl versionFileUrl() const;
    QUrl archiveUrl() const;

public slots:
    /// "Auf neue Version testen": starts the fetch; checkFinished() follows.
    void check();
    /// "Neue Version herunterladen": the notice, then the archive in the browser.
    void download();

signals:
    void checkFinished();

private:
    void fetched(bool ok, const QString& firstLine);
    void applyStyle(SettingsStore& store, UserPrompts& prompts);
    void setBusy(bool busy);

    UserPrompts& prompts_;
    UrlOpener& opener_;
    Config config_;
    std::array<QString, 3> messages_;
    VersionFetcher* fetcher_ = nullptr;
    PictureLabel* background_ = nullptr;
    QLineEdit* running_ = nullptr;
    QLineEdit* offered_ = nullptr;
    QPushButton* check_ = nullptr;
    QPushButton* download_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QList<QWidget*> texts_;  // heading, explanation, labels and buttons
    bool downloadEnabled_ = false;
};

}  // namespace brisko
