#include "Application.h"

#include <malloc.h>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QMenu>
#include <QScreen>
#include <QStandardPaths>
#include <QSystemTrayIcon>

#include "LanguageStep.h"
#include "MainWindow.h"
#include "SplashWindow.h"
#include "dialogs/InfoDialog.h"
#include "dialogs/OptionsDialog.h"
#include "dialogs/TextEditorDialog.h"
#include "dialogs/UpdateDialog.h"
#include "dialogs/UrlOpener.h"
#include "dialogs/UserPrompts.h"
#include "hotkeys/HotkeyDispatcher.h"
#include "hotkeys/HotkeyRegistration.h"
#include "hotkeys/KeyBindings.h"
#include "hotkeys/SystemCommands.h"
#include "storage/InstallationDirectory.h"
#include "storage/LanguageFile.h"
#include "storage/SettingNames.h"
#include "storage/SettingsStore.h"
#include "widgets/Pictures.h"
#include "widgets/TrayIcon.h"

namespace brisko {

namespace {
constexpr int kSplashMs = 2500;
constexpr int kRestoreMs = 2600;
// The keys belong to the program, not to one of its windows: this only names their owner to
// the engine.
constexpr WindowHandle kKeyOwner = 1;
// Long enough to read the two paragraphs of the notice without a tray.
constexpr int kNoticeBalloonMs = 20000;

const char* const kFirstStartText =
    "Dies ist der erste Start von Brisko.\n\n"
    "Hinweis: Sie müssen die Hot Key-Verteilung nicht abspeichern. Die Hot Keys sind "
    "automatisch gesetzt, wenn Sie sie über die Auswahlboxen festlegen. Diese Meldung wird nun "
    "nicht mehr angezeigt.\n\n"
    "(This is the first time you start Brisko.\n\n"
    "Hint: You do not have to save your Hot Keys to file. The Hot Keys are automatically set, "
    "when you have chosen them in the dropdown-boxes. This message will not be shown again.)";

void OneShot(QTimer& timer, int ms) {
    timer.setSingleShot(true);
    timer.setInterval(ms);
}

// Hands the heap's free pages back to the system once the events now pending (the hidden
// windows letting go of their pictures) are done. Freed memory otherwise stays with the
// process between the blocks still in use.
void ReturnFreeMemory() {
#ifdef __GLIBC__
    QTimer::singleShot(0, [] { malloc_trim(0); });
#endif
}
}  // namespace

Application::Application(Environment environment) : env_(std::move(environment)) {}

Application::~Application() {
    tickTimer_.stop();
}

void Application::start() {
    splash_ = std::make_unique<SplashWindow>(env_.dataDirectory);
    connect(splash_.get(), &SplashWindow::closed, this, [this] {
        emit finished();
        QCoreApplication::exit(0);
    });
    splash_->show();
    OneShot(splashTimer_, kSplashMs);
    connect(&splashTimer_, &QTimer::timeout, this, &Application::splashTimeout);
    splashTimer_.start();

    restoreSlots();
    for (int i = 0; i < kActionCount; ++i)
        actionNames_[i] = QString::fromUtf8(kActionCaptions[i]);
    if (!env_.opener) {
        desktopOpener_ = std::make_unique<DesktopUrlOpener>();
        env_.opener = desktopOpener_.get();
    }
    opener_ = env_.opener;
    // Started into the notification area, the windows wait until the user first shows them.
    if (!startsHidden())
        buildWindows();

    // The notification-area icon and its menu.
    trayMenu_ = std::make_unique<QMenu>();
    trayMenu_->setObjectName("PopupMenu2");
    QAction* showItem = trayMenu_->addAction(
        QIcon(DesignedPicture(env_.dataDirectory, "menu/tray-show.png", {16, 16})),
        "Brisko &starten");
    showItem->setObjectName("Briskostarten1");
    trayMenu_->addSeparator();
    QAction* quitItem = trayMenu_->addAction(
        QIcon(DesignedPicture(env_.dataDirectory, "menu/tray-quit.png", {16, 16})),
        "Brisko &beenden");
    quitItem->setObjectName("Briskobeenden1");
    connect(showItem, &QAction::triggered, this, [this] { showFromTray(); });
    connect(quitItem, &QAction::triggered, this, [this] { closeMainWindow(); });
    tray_ = env_.trayHost ? new TrayIcon(this, std::move(env_.trayHost)) : new TrayIcon(this);
    tray_->beginLoad();
    tray_->setHint("Brisko");
    tray_->setShowHint(true);
    tray_->setUseAppIcon(true);
    tray_->setPopupMenu(trayMenu_.get());
    // A double click shows the window. Trays that report only single activations (the
    // StatusNotifierItem hosts) never send one: there a click shows it.
    connect(tray_, &TrayIcon::doubleClicked, this, [this] { showFromTray(); });
    connect(tray_, &TrayIcon::clicked, this, [this] {
        if (tray_->active() && !tray_->hostSendsDoubleClicks())
            showFromTray();
    });
    tray_->endLoad();

    // Timers of the main window, started with it.
    OneShot(firstTick_, 0);
    connect(&firstTick_, &QTimer::timeout, this, [this] {
        firstTickDone_ = true;
        if (mainWindow_)
            mainWindow_->fixUpStylePictures();
        languageStep();
        finishTextStep();
    });
    firstTick_.start();
    tickTimer_.setInterval(kTickIntervalMs);
    tickTimer_.setTimerType(Qt::CoarseTimer);
    connect(&tickTimer_, &QTimer::timeout, this, &Application::tick);
    tickTimer_.start();
}

void Application::restoreSlots() {
    const std::string systemVersionName = SystemVersionName(env_.system);
    RunHandler(env_.prompts, [this] {
        stored_ = ReadSlotSettings(env_.store, slots_);
        storedRead_ = true;
        textStepPending_ = true;
        if (!stored_.readError.empty())
            throw BriskoError(stored_.readError);
    });
    dispatcher_ = std::make_unique<HotkeyDispatcher>(
        env_.system, slots_, kKeyOwner, systemVersionName,
        [this] { RunHandler(env_.prompts, [this] { SaveSlotSettings(env_.store, slots_); }); });
    dispatcher_->setOwnExecutableName(env_.ownExecutableName);
    // The "-autostart" switch and the full restore, 2600 ms after the start.
    OneShot(restoreTimer_, kRestoreMs);
    connect(&restoreTimer_, &QTimer::timeout, this, [this] {
        if (startsHidden())
            hideToTray();
        // Without a table read at creation the full restore would free every slot and clean
        // up values that are still stored; the slots then stay as the user edits them.
        if (storedRead_)
            RunHandler(env_.prompts,
                       [this] { ApplySlotSettings(env_.store, stored_, slots_, true); });
        // The last step that reads the table: its texts would be held twice from here on.
        textStepPending_ = false;
        stored_ = StoredSlotSettings{};
        storedRead_ = false;
        ReturnFreeMemory();
    });
    restoreTimer_.start();
}

MainWindow& Application::mainWindow() {
    buildWindows();
    return *mainWindow_;
}

OptionsDialog& Application::options() {
    buildWindows();
    return *options_;
}

TextEditorDialog& Application::editor() {
    buildWindows();
    return *editor_;
}

InfoDialog& Application::info() {
    buildWindows();
    return *info_;
}

UpdateDialog& Application::update() {
    buildWindows();
    return *update_;
}

void Application::buildWindows() {
    if (mainWindow_)
        return;
    mainWindow_ =
        std::make_unique<MainWindow>(slots_, env_.store, env_.prompts, env_.dataDirectory);
    MainWindow* main = mainWindow_.get();
    main->applyInterfaceStyle();
    main->setApplicationFolders(env_.applicationFolders);
    env_.prompts.setParentWindow(main);

    info_ = std::make_unique<InfoDialog>(env_.dataDirectory);
    info_->setMainWindow(main);
    options_ = std::make_unique<OptionsDialog>(
        env_.store, env_.prompts,
        OptionsDialog::StartPage{[main] { main->showWelcomePage(true); },
                                 [main] { main->showSlotPage(true); }},
        env_.dataDirectory);
    options_->setMainWindow(main);
    editor_ =
        std::make_unique<TextEditorDialog>(slots_, env_.store, env_.prompts, env_.dataDirectory);
    editor_->setMainWindow(main);
    QString versionCopy = env_.versionCopy;
    if (versionCopy.isEmpty())
        versionCopy = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                      "/brisko/version.nfo";
    update_ = std::make_unique<UpdateDialog>(
        env_.store, env_.prompts, *opener_,
        UpdateDialog::Config{env_.updateSite, versionCopy, env_.dataDirectory, env_.httpModule});
    update_->setMainWindow(main);

    // Every command of the main window reaches its window here.
    connect(main, &MainWindow::hideToTrayRequested, this, &Application::hideToTray);
    connect(main, &MainWindow::quitRequested, this, &Application::quitProgram);
    connect(main, &MainWindow::closing, this, &Application::closeHandling);
    connect(main, &MainWindow::optionsRequested, options_.get(), &OptionsDialog::open);
    connect(main, &MainWindow::updateRequested, update_.get(), &UpdateDialog::open);
    connect(main, &MainWindow::infoRequested, info_.get(), &InfoDialog::open);
    connect(main, &MainWindow::helpRequested, this, &Application::showHelp);
    connect(main, &MainWindow::textEditorRequested, editor_.get(), &TextEditorDialog::openForSlot);
    main->setPageSwitchStyle(options_->styleChoice());
    connect(options_.get(), &OptionsDialog::styleChoiceChanged, main,
            &MainWindow::setPageSwitchStyle);

    // The start-up steps that the windows missed.
    if (firstTickDone_)
        main->fixUpStylePictures();
    if (languageLines_)
        applyLanguage({main, options_.get(), editor_.get(), update_.get(), nullptr});
    // The rows show how the keys stand from their first paint on.
    if (env_.keyBindings)
        for (int n = 1; n <= kSlotCount; ++n)
            main->row(n).setKeyState(env_.keyBindings->keyState(n));
}

void Application::showMainWindow() {
    MainWindow& main = mainWindow();
    if (!mainWindowPlaced_) {
        mainWindowPlaced_ = true;
        if (QScreen* screen = QGuiApplication::primaryScreen())
            main.move(screen->availableGeometry().center() - main.rect().center());
    }
    main.showNormal();
}

void Application::closeMainWindow() {
    if (mainWindow_)
        mainWindow_->close();
    else
        closeHandling();
}

bool Application::startsHidden() const {
    return !env_.arguments.isEmpty() && env_.arguments.first() == "-autostart";
}

void Application::splashTimeout() {
    splash_->hide();
    // A program started into the notification area goes there at 2.6 s: its window is not
    // built for the 100 ms in between.
    const bool goingToTray = startsHidden() && trayAvailable();
    if (!ending_ && !goingToTray && !(tray_ && tray_->active()) &&
        !(mainWindow_ && mainWindow_->isVisible()))
        showMainWindow();
    splashTimer_.stop();
    firstStartNotice();
}

void Application::firstStartNotice() {
    RunHandler(env_.prompts, [this] {
        if (!OpenSettingsKey(env_.store).read(setting_names::kFirstStart).empty())
            return;
        env_.prompts.Beep();
        if (env_.prompts.ShowInformation("Erster Start / First Start",
                                         QString::fromUtf8(kFirstStartText))) {
            SettingsKey key = OpenSettingsKey(env_.store);
            key.write(setting_names::kFirstStart, "Yes");
            key.close();
        }
    });
}

void Application::languageStep() {
    RunHandler(env_.prompts, [this] {
        const std::string lang = OpenSettingsKey(env_.store).read(setting_names::kLanguage);
        const std::string fileName = LanguageFileName(lang);
        if (fileName.empty())
            return;
        const std::string directory =
            InstallationDirectory(env_.store, env_.dataDirectory.toStdString());
        const auto lines = ReadLanguageFile(JoinPath(directory, "") + fileName);
        if (!lines) {
            env_.prompts.ShowMessage(QString::fromStdString(LanguageFileErrorMessage(fileName)));
            return;
        }
        // Kept for the windows that are built later.
        languageLines_ = *lines;
        languageItem_ = LanguageListItem(lang);
        languageTexts_ = lines->extras;
        actionNames_ = ActionNames(*lines);
        applyLanguage(
            {mainWindow_.get(), options_.get(), editor_.get(), update_.get(), trayMenu_.get()});
    });
}

void Application::applyLanguage(const LanguageWindows& windows) {
    updateMessages_ = ApplyLanguageLines(*languageLines_, windows);
    if (!mainWindow_)
        return;
    update_->setMessages(updateMessages_);
    update_->fitTexts();
    for (int n = 1; n <= kSlotCount; ++n)
        mainWindow_->row(n).setKeyMarkTexts(languageTexts_);
    mainWindow_->refreshAll();
    options_->selectLanguage(languageItem_);
}

int Application::languageChoice() const {
    return options_ ? options_->languageChoice() : languageItem_;
}

InterfaceStyle Application::styleChoice() const {
    return options_ ? options_->styleChoice() : ReadInterfaceStyle(env_.store);
}

void Application::tick() {
    SyncHotkeyRegistration(env_.system, kKeyOwner, slots_);
    if (env_.keyBindings)
        syncKeyBindings();
    EmptyUnusedInsertTexts(slots_);
    if (mainWindow_)
        mainWindow_->tick();
    if (editor_ && slots_.revision() != editorRevision_) {
        editor_->syncFromModel();
        editorRevision_ = slots_.revision();
    }
}

void Application::syncKeyBindings() {
    bool noShortcuts = false;
    for (int n = 1; n <= kSlotCount; ++n) {
        // The name is shared, not copied: an unchanged one costs a pointer compare.
        const QString& action = actionNames_[static_cast<std::size_t>(slots_.action(n))];
        if (action != describedActions_[n - 1]) {
            describedActions_[n - 1] = action;
            env_.keyBindings->describeKey(n, action.toStdString());
        }
        const KeyState state = env_.keyBindings->keyState(n);
        if (mainWindow_)
            mainWindow_->row(n).setKeyState(state);
        noShortcuts = noShortcuts || state.mark == KeyMark::NoService;
    }
    if (noShortcuts && !noShortcutsNoticed_) {
        noShortcutsNoticed_ = true;
        // Outside the tick: the box runs a loop of its own.
        QTimer::singleShot(0, this, [this] {
            const QString notice =
                QString::fromStdString(languageTexts_[ExtraText::NoShortcutsNotice]) + "\n\n" +
                QString::fromStdString(languageTexts_[ExtraText::NoShortcutsRemedy]);
            // Where there is a notification area the notice goes there and keeps nobody from
            // working; elsewhere a box says it once.
            if (tray_ && trayAvailable() && tray_->showBalloon("Brisko", notice, kNoticeBalloonMs))
                return;
            env_.prompts.ShowMessage(notice);
        });
    }
}

void Application::onHotkey(int id) {
    RunHandler(env_.prompts, [&] { dispatcher_->OnHotkeyMessage(static_cast<unsigned>(id)); });
}

bool Application::trayAvailable() const {
    return env_.trayAvailable ? env_.trayAvailable() : QSystemTrayIcon::isSystemTrayAvailable();
}

void Application::hideToTray() {
    // An error box during start-up runs the timers before the icon exists.
    if (!tray_ || !trayAvailable()) {
        // With no notification area, hiding would leave no way back: minimise instead.
        mainWindow().showMinimized();
        return;
    }
    if (mainWindow_)
        mainWindow_->hide();
    tray_->setActive(true);
    // Hidden for hours, perhaps: the window's image on the screen's side goes with its window,
    // and the memory of what the hidden windows let go returns to the system.
    if (mainWindow_)
        mainWindow_->releaseNativeWindow();
    ReturnFreeMemory();
}

void Application::showFromTray() {
    showMainWindow();
    mainWindow_->raise();
    mainWindow_->activateWindow();
    if (tray_)
        tray_->setActive(false);
}

void Application::quitProgram() {
    closeMainWindow();
    splash_->finish();
}

void Application::closeHandling() {
    if (ending_)
        return;
    ending_ = true;
    // Each step runs on its own: a refused write is shown, but never keeps the slots from
    // being saved.
    RunHandler(env_.prompts, [this] {
        const std::string language = LanguageValueForItem(languageChoice());
        SettingsKey key = OpenSettingsKey(env_.store);
        if (!language.empty())
            key.write(setting_names::kLanguage, language);
        key.close();
    });
    RunHandler(env_.prompts, [this] {
        const InterfaceStyle style = styleChoice();
        SettingsKey key(env_.store, SettingsRoot::CurrentUser, kSettingsKeyPathRelative,
                        style == InterfaceStyle::Blue);
        key.write(setting_names::kStyle, StyleSettingName(style));
        key.close();
    });
    finishTextStep();
    RunHandler(env_.prompts, [this] { SaveSlotSettings(env_.store, slots_); });
    tickTimer_.stop();
    if (tray_)
        tray_->setActive(false);
    splash_->finish();
}

void Application::commitData() {
    if (ending_)
        return;
    finishTextStep();
    RunHandler(env_.prompts, [this] { SaveSlotSettings(env_.store, slots_); });
}

QUrl Application::helpUrl() const {
    const bool english = languageChoice() == LanguageListItem("English");
    return QUrl::fromLocalFile(env_.dataDirectory + (english ? "/help/en" : "/help/de") +
                               "/index.html");
}

void Application::showHelp() {
    // As with a missing viewer, a manual that cannot be opened shows nothing of its own.
    opener_->open(helpUrl());
}

void Application::finishTextStep() {
    // Until the first tick the text slots are still free in the editor; saved like that, their
    // stored action would be lost. An error box during start-up or an early end of the session
    // can come first.
    if (!textStepPending_)
        return;
    textStepPending_ = false;
    ApplyStoredInsertTexts(stored_, slots_);
}

void Application::endSession() {
    if (ending_)
        return;
    ending_ = true;
    finishTextStep();
    RunHandler(env_.prompts, [this] { SaveSlotSettings(env_.store, slots_); });
    TerminateProcessesByName(env_.system, env_.ownExecutableName);
    // Reached only when this process was not among those ended.
    tickTimer_.stop();
    if (tray_)
        tray_->setActive(false);
    emit finished();
    QCoreApplication::exit(0);
}

}  // namespace brisko
