#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "FakeNotifyIconHost.h"
#include "FakeSettingsStore.h"
#include "FakeSystemControl.h"
#include "FakeUrlOpener.h"
#include "FakeUserPrompts.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "dialogs/InfoDialog.h"
#include "dialogs/OptionsDialog.h"
#include "dialogs/TextEditorDialog.h"
#include "dialogs/UpdateDialog.h"
#include "storage/LanguageFile.h"
#include "widgets/ImageButton.h"
#include "widgets/TrayIcon.h"

namespace brisko {
namespace {

using testing::FakeNotifyIconHost;
using testing::FakeSettingsStore;
using testing::FakeSystemControl;
using testing::FakeUrlOpener;
using testing::FakeUserPrompts;

// One running program over fakes. The start-up timers run for real.
struct Program {
    explicit Program(QStringList arguments = {}, bool withTray = true) {
        auto host = std::make_unique<FakeNotifyIconHost>();
        tray = host.get();
        app = std::make_unique<Application>(Application::Environment{
            system, store, prompts, arguments, std::move(host), [withTray] { return withTray; },
            "BRZ", BRISKO_TEST_DATA_DIR, nullptr, &opener, "http://127.0.0.1:1",
            cache.path() + "/version.nfo"});
    }
    void start() { app->start(); }

    FakeSystemControl system;
    FakeSettingsStore store;
    FakeUserPrompts prompts;
    FakeUrlOpener opener;
    QTemporaryDir cache;
    FakeNotifyIconHost* tray;
    std::unique_ptr<Application> app;
};

constexpr int kAfterRestoreMs = 2800;

TEST(ApplicationTest, FirstStartWithNoSettings) {
    Program p;
    p.start();
    for (int n = 1; n <= kSlotCount; ++n)
        EXPECT_EQ(p.app->model().action(n), 0) << n;
    SplashWindow& splash = p.app->splash();
    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(splash.size(), QSize(379, 252));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(splash.geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    EXPECT_FALSE(p.app->mainWindow().isVisible()) << "kept out of sight behind the splash";
    EXPECT_TRUE(p.app->mainWindow().welcomePageShown());
    EXPECT_EQ(p.app->mainWindow().style(), InterfaceStyle::Blue);
    EXPECT_EQ(p.app->options().styleChoice(), InterfaceStyle::Blue);

    QTest::qWait(200);
    EXPECT_TRUE(p.prompts.log.isEmpty());
    EXPECT_TRUE(p.system.registered().empty()) << "free slots are not registered";

    QTest::qWait(kAfterRestoreMs);
    EXPECT_FALSE(p.app->splash().isVisible());
    EXPECT_TRUE(p.app->mainWindow().isVisible());
    // Centred up to half the frame, which is not known before the window is first shown.
    const QPoint offCentre = p.app->mainWindow().frameGeometry().center() -
                             QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE(std::abs(offCentre.x()), 3) << offCentre.x();
    EXPECT_LE(std::abs(offCentre.y()), 3) << offCentre.y();
    ASSERT_EQ(p.prompts.log.size(), 2) << p.prompts.log.join("\n").toStdString();
    EXPECT_EQ(p.prompts.log[0], "Beep");
    EXPECT_TRUE(p.prompts.log[1].startsWith(
        "Information: Erster Start / First Start | Dies ist der erste Start von Brisko.\n\n"));
    EXPECT_EQ(p.prompts.log[1].count("\n\n"), 3);
    EXPECT_EQ(p.store.get("FirstStart"), "Yes");
}

TEST(ApplicationTest, FirstStartNoticeOnlyWhileFirstStartIsEmpty) {
    Program seen, cancelled, unwritable;
    seen.store.set("FirstStart", "irgendwas");
    cancelled.prompts.informationOk = false;
    seen.start();
    cancelled.start();
    unwritable.start();
    unwritable.store.writable = false;
    QTest::qWait(kAfterRestoreMs);
    EXPECT_TRUE(seen.prompts.log.isEmpty());
    EXPECT_EQ(cancelled.prompts.named("Information").size(), 1);
    EXPECT_FALSE(cancelled.store.has("FirstStart"));
    EXPECT_EQ(
        unwritable.prompts.named("Error"),
        QStringList{QString::fromUtf8("Error: Fehler beim Setzen der Daten für 'FirstStart'")});
    EXPECT_FALSE(unwritable.store.has("FirstStart"));
}

TEST(ApplicationTest, AutostartHidesIntoTheTrayOnlyForTheExactFirstArgument) {
    Program autostart({"-autostart"}), capital({"-Autostart"}), second({"x", "-autostart"}),
        noTray({"-autostart"}, false);
    autostart.store.set("F4", "17");
    autostart.store.set("F4c", "Gruss");
    autostart.store.set("Lang", "English");
    for (Program* p : {&autostart, &capital, &second, &noTray})
        p->start();
    QTest::qWait(kAfterRestoreMs);
    EXPECT_FALSE(autostart.app->mainWindowBuilt()) << "hidden from the start: never built";
    EXPECT_TRUE(autostart.tray->shown);
    EXPECT_TRUE(autostart.app->tray().active());
    // The keys work without the window: registered, dispatched, and the slot rules applied.
    EXPECT_EQ(autostart.system.registered(), std::set<int>{258});
    autostart.app->onHotkey(258);
    EXPECT_EQ(autostart.system.callsNamed("SetClipboardText").size(), 1u);
    autostart.app->model().setAction(4, 8);
    QTest::qWait(50);
    EXPECT_EQ(autostart.app->model().insertText(4), "") << "a text only for an insert-text slot";
    EXPECT_EQ(autostart.system.registered(), std::set<int>{258});
    EXPECT_TRUE(capital.app->mainWindow().isVisible());
    EXPECT_TRUE(second.app->mainWindow().isVisible());
    EXPECT_FALSE(capital.tray->shown || second.tray->shown);
    // Without a notification area the window is minimised instead: it stays reachable.
    EXPECT_TRUE(noTray.app->mainWindow().isMinimized());
    EXPECT_FALSE(noTray.tray->shown);

    autostart.tray->send(WM_LBUTTONDBLCLK);
    ASSERT_TRUE(autostart.app->mainWindowBuilt());
    EXPECT_TRUE(autostart.app->mainWindow().isVisible());
    const QPoint offCentre = autostart.app->mainWindow().geometry().center() -
                             QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 4) << "first shown in the middle of the screen";
    // The language loaded at the start reaches the windows built later.
    EXPECT_EQ(autostart.app->mainWindow().menuBar()->actions()[0]->text(), "&File");
    EXPECT_EQ(autostart.app->options().languageChoice(), LanguageListItem("English"));
    EXPECT_FALSE(autostart.tray->shown);
    EXPECT_FALSE(autostart.app->tray().active());
}

TEST(ApplicationTest, TrayMenuAndSingleActivation) {
    Program p;
    p.start();
    p.app->hideToTray();
    EXPECT_TRUE(p.tray->shown);
    ASSERT_EQ(p.tray->count(FakeNotifyIconHost::Op::Add), 1);
    EXPECT_EQ(p.tray->last().szTip, "Brisko");
    // A tray with double clicks: a single click leaves the window hidden.
    p.tray->send(WM_LBUTTONUP);
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    EXPECT_FALSE(p.app->mainWindow().isVisible());
    EXPECT_TRUE(p.tray->shown);
    // A tray that sends single activations only: there the click shows it.
    p.tray->doubleClicks = false;
    p.tray->send(WM_LBUTTONUP);
    EXPECT_TRUE(p.app->mainWindow().isVisible());
    EXPECT_FALSE(p.tray->shown);

    QMenu& menu = p.app->trayMenu();
    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_EQ(menu.actions()[0]->text(), "Brisko &starten");
    EXPECT_TRUE(menu.actions()[1]->isSeparator());
    EXPECT_EQ(menu.actions()[2]->text(), "Brisko &beenden");

    QSignalSpy finished(p.app.get(), &Application::finished);
    p.app->hideToTray();
    menu.actions()[2]->trigger();
    EXPECT_EQ(finished.size(), 1);
    EXPECT_FALSE(p.tray->shown);
    EXPECT_EQ(p.store.get("F1"), "0");
}

TEST(ApplicationTest, ClosingWritesLanguageStyleAndSlotsInOrder) {
    Program p;
    p.start();
    MainWindow& main = p.app->mainWindow();
    p.app->model().setAction(1, 2);
    p.app->model().setProgramPath(1, "/usr/bin/xterm");
    p.app->model().setShowMode(1, "3");
    p.app->options().selectLanguage(1);
    p.app->options().findChild<QRadioButton*>("RadioButton3")->setChecked(true);
    p.store.log.clear();
    QSignalSpy finished(p.app.get(), &Application::finished);
    main.close();
    EXPECT_EQ(finished.size(), 1);
    ASSERT_GE(p.store.log.size(), 3u);
    EXPECT_EQ(p.store.log[0], "Write(Lang, \"English\")");
    EXPECT_EQ(p.store.log[1], "Write(Style, \"Luna\")");
    EXPECT_EQ(p.store.log[2], "Write(F1, \"2\")");
    EXPECT_EQ(p.store.get("F1a"), "/usr/bin/xterm");
    EXPECT_EQ(p.store.get("F1aa"), "3");
    EXPECT_FALSE(p.app->splash().isVisible());
}

TEST(ApplicationTest, ClosingWithoutALanguageChoiceWritesNoLanguage) {
    Program p;
    p.store.set("Lang", "Klingonisch");
    p.start();
    QSignalSpy finished(p.app.get(), &Application::finished);
    p.app->splash().close();  // refused: it would end the program without saving
    EXPECT_EQ(finished.size(), 0);
    EXPECT_TRUE(p.app->splash().isVisible());
    p.app->quitProgram();
    EXPECT_EQ(finished.size(), 1);
    EXPECT_EQ(p.store.get("Lang"), "Klingonisch");
    EXPECT_EQ(p.store.get("Style"), "Blue");
    EXPECT_EQ(p.store.get("F11"), "0");
}

TEST(ApplicationTest, ARefusedWriteAtCloseIsShownAndTheSlotsAreStillTried) {
    Program p;
    p.start();
    p.store.writable = false;
    p.app->quitProgram();
    EXPECT_GE(p.prompts.named("Error").size(), 1);
    EXPECT_TRUE(p.app->ending());
}

TEST(ApplicationTest, SessionEndSavesSlotsButNotStyleAndEndsEveryCopy) {
    Program p;
    p.system.processes = {{0, 41, "/usr/bin/xterm"}, {0, 42, "BRZ"}};
    p.system.ownProcessId = 42;
    p.start();
    p.app->hideToTray();
    p.app->model().setAction(3, 8);
    p.app->options().selectLanguage(0);
    p.store.log.clear();
    EXPECT_THROW(p.app->endSession(), testing::OwnProcessEnded);
    EXPECT_EQ(p.store.get("F3"), "8");
    EXPECT_FALSE(p.store.has("Lang"));
    EXPECT_FALSE(p.store.has("Style"));
    EXPECT_EQ(p.system.callsNamed("TerminateProcess").size(), 1u);
}

TEST(ApplicationTest, EndingBeforeTheFirstTickKeepsTheStoredTextSlots) {
    // An error box during start-up, or a session that ends at once, can come before the first
    // tick has given the text slots their action.
    Program ended, closed;
    ended.system.processes = {{0, 42, "BRZ"}};
    ended.system.ownProcessId = 42;
    for (Program* p : {&ended, &closed}) {
        p->store.set("F3", "17");
        p->store.set("F3c", "Guten Tag\r\nWelt");
        p->start();
    }
    EXPECT_THROW(ended.app->endSession(), testing::OwnProcessEnded);
    closed.app->quitProgram();
    for (Program* p : {&ended, &closed}) {
        EXPECT_EQ(p->store.get("F3"), "17");
        EXPECT_EQ(p->store.get("F3c"), "Guten Tag\r\nWelt");
    }
}

TEST(ApplicationTest, StoredSlotsAreRestoredRegisteredAndDispatched) {
    Program p;
    p.store.set("F5", "2");
    p.store.set("F5a", "/usr/bin/xterm");
    p.store.set("F5aa", "3");
    p.store.set("F10", "17");
    p.store.set("F10c", "erste\r\nzweite");
    p.store.set("Willkommen", "Nein");
    p.start();
    // Creation already set the program slot; the text slot follows at the first tick.
    EXPECT_EQ(p.app->model().action(5), 2);
    EXPECT_EQ(p.app->model().showMode(5), "3");
    EXPECT_FALSE(p.app->mainWindow().welcomePageShown());
    QTest::qWait(100);
    EXPECT_EQ(p.app->model().action(10), 17);
    EXPECT_EQ(p.app->model().insertText(10), "erste\nzweite");
    EXPECT_TRUE(p.system.registered().count(259));
    EXPECT_TRUE(p.system.registered().count(264));
    EXPECT_FALSE(p.system.registered().count(255));
    EXPECT_TRUE(p.app->mainWindow().row(5).modeItem(1)->isChecked());

    p.system.clear();
    p.app->onHotkey(259);
    const auto opened = p.system.callsNamed("ShellExecuteA");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find("/usr/bin/xterm"), std::string::npos);
    EXPECT_NE(opened[0].find(", 3)"), std::string::npos);

    // An edit in the first 2600 ms is replaced by the full restore.
    p.app->model().setAction(5, 8);
    QTest::qWait(kAfterRestoreMs);
    EXPECT_EQ(p.app->model().action(5), 2);
}

TEST(ApplicationTest, AHandlerErrorIsShownAndTheProgramGoesOn) {
    Program p;
    p.store.set("F2", "2");
    p.store.set("F2a", "/bin/true");
    p.store.set("F2aa", "x");
    p.start();
    p.app->onHotkey(256);
    ASSERT_EQ(p.prompts.named("Error").size(), 1);
    EXPECT_TRUE(p.prompts.log.first().contains("'x' ist kein gültiger Integerwert"));
    EXPECT_TRUE(p.system.callsNamed("ShellExecuteA").empty());
}

TEST(ApplicationTest, DialogsDisableTheMainWindowUntilClosed) {
    Program p;
    p.start();
    MainWindow& w = p.app->mainWindow();
    w.action("Optionen1")->trigger();
    EXPECT_FALSE(w.isEnabled());
    p.app->options().close();
    EXPECT_TRUE(w.isEnabled());
    EXPECT_EQ(p.store.get("Willkommen"), "Ja");
    w.action("Info1")->trigger();
    EXPECT_FALSE(w.isEnabled());
    p.app->info().close();
    EXPECT_TRUE(w.isEnabled());
    w.action("Briskoaktualisieren1")->trigger();
    EXPECT_FALSE(w.isEnabled());
}

TEST(ApplicationTest, EveryMenuCommandReachesItsWindow) {
    Program p;
    p.start();
    QTest::qWait(50);
    MainWindow& w = p.app->mainWindow();
    QSignalSpy finished(p.app.get(), &Application::finished);
    auto shown = [](QWidget& dialog) {
        const bool visible = dialog.isVisible();
        dialog.close();
        return visible;
    };
    auto asked = [&p](const char* box) {
        const bool was = !p.prompts.named(box).isEmpty();
        p.prompts.log.clear();
        return was;
    };
    // What each command visibly does; a command missing here fails the test.
    const std::map<QString, std::function<bool()>> effects{
        {"HotKeyVerteilungladen1", [&] { return asked("Open:"); }},
        {"HotKeyVerteilungspeichern1", [&] { return asked("Save:"); }},
        {"AlleHotKeyslschen1", [&] { return asked("YesNo:"); }},
        {"Willkommen1", [&] { return w.welcomePageShown(); }},
        {"HotKeysetzen1", [&] { return !w.welcomePageShown(); }},
        {"Optionen1", [&] { return shown(p.app->options()); }},
        {"Briskoaktualisieren1", [&] { return shown(p.app->update()); }},
        {"Info1", [&] { return shown(p.app->info()); }},
        {"Hilfe1", [&] { return p.opener.opened == QStringList{p.app->helpUrl().toString()}; }},
        {"Beenden1", [&] { return finished.size() == 1; }},
    };
    QStringList order;
    for (QAction* menu : w.menuBar()->actions())
        for (QAction* item : menu->menu()->actions())
            if (!item->isSeparator())
                order << item->objectName();
    ASSERT_EQ(order.size(), 10);
    order.removeAll("Beenden1");
    order << "Beenden1";  // last: it ends the program
    for (const QString& name : order) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(effects.count(name)) << "a menu command without a known effect";
        // The file commands work on the slot page, the slot page's command on the welcome page.
        if (name == "HotKeysetzen1")
            w.showWelcomePage(true);
        else if (name != "Willkommen1" && w.welcomePageShown())
            w.showSlotPage(true);
        w.tick();
        p.prompts.log.clear();
        w.action(name.toLatin1().constData())->trigger();
        EXPECT_TRUE(effects.at(name)());
    }
    EXPECT_TRUE(p.app->helpUrl().toLocalFile().endsWith("/help/de/index.html"));
    EXPECT_TRUE(QFile::exists(p.app->helpUrl().toLocalFile()));
}

TEST(ApplicationTest, ACheckpointSavesTheSlotsAndEndsNothing) {
    Program p;
    p.system.processes = {{0, 42, "BRZ"}};
    p.system.ownProcessId = 42;
    p.start();
    p.app->model().setAction(2, 8);
    p.app->commitData();
    EXPECT_EQ(p.store.get("F2"), "8");
    EXPECT_FALSE(p.app->ending());
    EXPECT_TRUE(p.system.callsNamed("TerminateProcess").empty());
}

}  // namespace
}  // namespace brisko

namespace brisko {
namespace {

TEST(LanguageStepTest, EnglishFileReplacesTextsAtTheFirstTick) {
    Program p;
    p.store.set("Lang", "English");
    p.store.set("F4", "18");
    p.store.set("F4a", "https://example.org");
    p.start();
    MainWindow& w = p.app->mainWindow();
    EXPECT_EQ(w.menuBar()->actions()[0]->text(), "&Datei");
    QTest::qWait(100);
    EXPECT_EQ(w.menuBar()->actions()[0]->text(), "&File");
    EXPECT_EQ(w.findChild<QLabel*>("Label13")->text(), "Welcome");
    EXPECT_EQ(w.findChild<QPushButton*>("SpeedButton4")->text(), "Welcome");
    EXPECT_EQ(w.row(11).actionList()->itemText(0), "(Nothing)");
    EXPECT_EQ(w.row(11).actionList()->currentText(), "(Nothing)");
    EXPECT_EQ(w.row(4).actionList()->currentIndex(), 18) << "the selection stays";
    EXPECT_EQ(w.row(11).modeItem(0)->text(), "&Normal");
    EXPECT_EQ(p.app->trayMenu().actions()[0]->text(), "&Open Brisko");
    EXPECT_EQ(p.app->options().languageChoice(), 1);
    // The periodic hint refresh wins over the language file's hint text.
    EXPECT_EQ(w.row(4).webButton()->hint(),
              QString::fromUtf8("Webseite auswählen (Aktuelle Webseite: https://example.org)"));

    w.showSlotPage(true);
    p.prompts.yes = false;
    w.deleteAll();
    EXPECT_EQ(p.prompts.log.last(),
              "YesNo: Delete all hotkeys | Do you really want to delete all hotkeys?");
    p.app->quitProgram();
    EXPECT_EQ(p.store.get("Lang"), "English");
}

// Every target of the line table, found by its name in the windows the program builds.
TEST(LanguageStepTest, EveryLineReachesItsTargetsInGermanAndEnglish) {
    for (const char* language : {"German", "English"}) {
        SCOPED_TRACE(language);
        Program p;
        p.store.set("Lang", language);
        p.start();
        QTest::qWait(100);
        const auto lines =
            ReadLanguageFile(JoinPath(BRISKO_TEST_DATA_DIR, "") + LanguageFileName(language));
        ASSERT_TRUE(lines.has_value());
        MainWindow& main = p.app->mainWindow();
        const std::map<std::string, QWidget*> windows{{"main", &main},
                                                      {"options", &p.app->options()},
                                                      {"editor", &p.app->editor()},
                                                      {"update", &p.app->update()},
                                                      {"tray", &p.app->trayMenu()}};
        for (const LanguageLine& line : LanguageTable()) {
            const QString text = QString::fromStdString((*lines)[line.number - 1]);
            for (const LanguageTarget& target : line.targets) {
                SCOPED_TRACE("line " + std::to_string(line.number) + " " + target.component);
                ASSERT_TRUE(windows.count(target.window));
                QWidget* window = windows.at(target.window);
                const QString name = QString::fromStdString(target.component);
                switch (target.kind) {
                    case LanguageTargetKind::Caption: {
                        const QList<QObject*> found = window->findChildren<QObject*>(name);
                        ASSERT_FALSE(found.isEmpty()) << "no such target";
                        for (QObject* object : found) {
                            QString shown;
                            if (auto* label = qobject_cast<QLabel*>(object))
                                shown = label->text();
                            else if (auto* button = qobject_cast<QAbstractButton*>(object))
                                shown = button->text();
                            else if (auto* action = qobject_cast<QAction*>(object))
                                shown = action->text();
                            else if (auto* page = qobject_cast<QWidget*>(object))
                                shown =
                                    page->parentWidget()
                                        ? qobject_cast<QTabWidget*>(
                                              page->parentWidget()->parentWidget())
                                              ->tabText(qobject_cast<QTabWidget*>(
                                                            page->parentWidget()->parentWidget())
                                                            ->indexOf(page))
                                        : QString();
                            EXPECT_EQ(shown, text);
                        }
                        break;
                    }
                    case LanguageTargetKind::Hint: {
                        const QList<QWidget*> found = window->findChildren<QWidget*>(name);
                        ASSERT_EQ(found.size(), 1) << "no such target";
                        if (line.number != 64) {  // refreshed with the address at every tick
                            EXPECT_EQ(found.first()->toolTip(), text);
                        }
                        break;
                    }
                    case LanguageTargetKind::MenuTitle:
                        ASSERT_LT(target.index, main.menuBar()->actions().size());
                        EXPECT_EQ(main.menuBar()->actions()[target.index]->text(), text);
                        break;
                    case LanguageTargetKind::ActionEntry:
                        for (int n = 1; n <= kSlotCount; ++n)
                            EXPECT_EQ(main.row(n).actionList()->itemText(target.index), text);
                        break;
                    case LanguageTargetKind::OpenModeEntry:
                        for (int n = 1; n <= kSlotCount; ++n)
                            EXPECT_EQ(main.row(n).modeItem(target.index)->text(), text);
                        break;
                    case LanguageTargetKind::WindowCaption:
                        EXPECT_EQ(window->windowTitle(), text);
                        break;
                    case LanguageTargetKind::UpdateMessage:
                        EXPECT_EQ(p.app->update().messages().at(target.index), text);
                        break;
                    case LanguageTargetKind::ConfirmText:
                    case LanguageTargetKind::ConfirmTitle:
                        break;  // shown by the delete-all confirmation, tested with it
                }
            }
        }
        EXPECT_EQ(p.app->update().findChild<QLineEdit*>("Edit1")->text(),
                  UpdateDialog::RunningVersion())
            << "the running version is never replaced";
    }
}

TEST(LanguageStepTest, MissingFileGivesOneMessageAndKeepsTheTexts) {
    QTemporaryDir empty;
    Program missing, none;
    missing.store.set("Lang", "English");
    missing.store.set("Path", empty.path().toStdString());
    none.store.set("Lang", "Englisch");
    missing.start();
    none.start();
    QTest::qWait(100);
    EXPECT_EQ(missing.prompts.log,
              QStringList{"Message: Fehler beim Laden der Sprachdatei \"English.lang\"."});
    EXPECT_EQ(missing.app->mainWindow().menuBar()->actions()[0]->text(), "&Datei");
    EXPECT_EQ(missing.app->options().languageChoice(), -1);
    EXPECT_TRUE(none.prompts.log.isEmpty());
    none.app->quitProgram();
    EXPECT_EQ(none.store.get("Lang"), "Englisch") << "no language chosen: none written";
}

}  // namespace
}  // namespace brisko
