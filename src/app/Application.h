#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "LanguageStep.h"
#include "dialogs/Look.h"
#include "hotkeys/HotkeySlot.h"
#include "hotkeys/SystemControl.h"
#include "storage/LanguageFile.h"
#include "storage/SlotSettings.h"
#include "widgets/NotifyIconHost.h"

class QMenu;

namespace brisko {

class HotkeyDispatcher;
class KeyBindings;
class InfoDialog;
class MainWindow;
class NotifyIconHost;
class OptionsDialog;
class SettingsStore;
class SplashWindow;
class SystemControl;
class TextEditorDialog;
class TrayIcon;
class UpdateDialog;
class UrlOpener;
class UserPrompts;

/// The program: its windows, the start-up timers, the continuous tick and the lifecycle
/// (hiding into the notification area, quitting, the end of the session).
class Application : public QObject {
    Q_OBJECT
public:
    /// What the program runs on.
    struct Environment {
        SystemControl& system;
        SettingsStore& store;
        UserPrompts& prompts;
        QStringList arguments;  // without the program name
        /// The notification area; null uses the desktop's through QSystemTrayIcon.
        std::unique_ptr<NotifyIconHost> trayHost;
        /// Whether the desktop has a notification area; QSystemTrayIcon's answer when empty.
        std::function<bool()> trayAvailable;
        /// The executable name whose processes end with the session.
        std::string ownExecutableName = "BRZ";
        /// Where the program's pictures, language files and help lie.
        QString dataDirectory;
        /// How the keys stand with the desktop, for the rows' marks; null shows none.
        KeyBindings* keyBindings = nullptr;
        /// Opens the help and the download in the user's browser; null uses the desktop's.
        UrlOpener* opener = nullptr;
        /// The maker's web site for the update check.
        QString updateSite;
        /// Where the fetched version file is kept; empty: $XDG_CACHE_HOME/brisko/version.nfo.
        QString versionCopy;
        /// The folders of the desktop's applications, offered when browsing for a program.
        QStringList applicationFolders = {};
        /// The update check's http module (see HttpGet.h); empty: every check fails.
        QString httpModule = {};
    };

    explicit Application(Environment environment);
    ~Application() override;

    /// Creates the windows in order, restores the slots and starts the timers. Started into the
    /// notification area ("-autostart"), the program builds the main window and its dialogs
    /// only when they are first needed, usually when the user first shows the window.
    void start();

    // Lifecycle operations.
    void hideToTray();
    void showFromTray();
    void quitProgram();
    /// The end of the desktop session: saves the slots, then ends every process of the
    /// program's executable name, this one included. "Lang" and "Style" are not written.
    void endSession();
    /// The main window's close handling: "Lang", "Style", the slots, then the end of the loop.
    void closeHandling();
    /// The desktop asks for the user's data (also at a mere checkpoint): the slots are saved,
    /// nothing ends.
    void commitData();
    /// Opens the manual in the chosen language (German otherwise) in the user's browser.
    void showHelp();
    /// The manual's address for the chosen language.
    QUrl helpUrl() const;

    /// A registered key was pressed.
    void onHotkey(int id);

    SlotModel& model() { return slots_; }
    SplashWindow& splash() { return *splash_; }
    // The windows, built now if they have not been yet.
    MainWindow& mainWindow();
    OptionsDialog& options();
    TextEditorDialog& editor();
    InfoDialog& info();
    UpdateDialog& update();
    bool mainWindowBuilt() const { return mainWindow_ != nullptr; }
    TrayIcon& tray() { return *tray_; }
    QMenu& trayMenu() { return *trayMenu_; }
    const StoredSlotSettings& stored() const { return stored_; }
    /// True once the close handling or the session end has run.
    bool ending() const { return ending_; }

signals:
    /// The splash window was closed: the event loop ends.
    void finished();

private:
    /// Reads the stored slots and readies the dispatcher and the full restore.
    void restoreSlots();
    /// Builds the main window and its four dialogs, in the order of the start.
    void buildWindows();
    /// Gives the loaded language's texts to the windows named.
    void applyLanguage(const LanguageWindows& windows);
    /// The options dialog's choices; before it is built, those it would show.
    int languageChoice() const;
    InterfaceStyle styleChoice() const;
    /// Shows the main window, centred on the screen the first time.
    void showMainWindow();
    /// Closes the main window; one never built runs the close handling directly.
    void closeMainWindow();
    bool startsHidden() const;
    void splashTimeout();
    void firstStartNotice();
    /// Gives the text slots their stored action and text now if the first tick has not yet.
    void finishTextStep();
    void tick();
    /// Names the slots' actions to the desktop, shows how their keys stand and says once when
    /// the desktop offers no global shortcuts.
    void syncKeyBindings();
    void languageStep();
    bool trayAvailable() const;

    Environment env_;
    SlotModel slots_;
    StoredSlotSettings stored_;
    std::unique_ptr<SplashWindow> splash_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<InfoDialog> info_;
    std::unique_ptr<OptionsDialog> options_;
    std::unique_ptr<TextEditorDialog> editor_;
    std::unique_ptr<UpdateDialog> update_;
    std::unique_ptr<UrlOpener> desktopOpener_;
    UrlOpener* opener_ = nullptr;
    std::unique_ptr<HotkeyDispatcher> dispatcher_;
    std::unique_ptr<QMenu> trayMenu_;
    TrayIcon* tray_ = nullptr;  // a child of this object

    QTimer splashTimer_;   // end of the splash, first-start notice
    QTimer firstTick_;     // style pictures, language, insert texts
    QTimer restoreTimer_;  // "-autostart" and the full restore
    QTimer tickTimer_;     // the continuous rules
    unsigned long long editorRevision_ = ~0ull;
    bool ending_ = false;
    std::array<QString, kSlotCount> describedActions_;
    bool noShortcutsNoticed_ = false;
    bool textStepPending_ = false;           // stored text slots not yet given their action
    bool storedRead_ = false;                // the restore steps have a table to apply
    std::array<QString, 3> updateMessages_;  // from the language file, for the update dialog
    std::array<QString, kActionCount> actionNames_;  // as the action lists show them
    std::optional<LanguageLines> languageLines_;     // for windows built after the step
    int languageItem_ = -1;                          // the language list's item it chose
    ExtraTexts languageTexts_;                       // the rows' key marks keep a reference
    bool firstTickDone_ = false;
    bool mainWindowPlaced_ = false;
};

}  // namespace brisko
