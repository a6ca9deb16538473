// The program on a private desktop: started as a user would, driven with real key presses and
// the window manager, its settings file read back afterwards.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "DesktopFixture.h"
#include "platform/linux/IniSettingsStore.h"

namespace brisko::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kMainTitle = "Orvalde - Brisko";

class ProgramTest : public DesktopFixture {
protected:
    void SetUp() override {
        DesktopFixture::SetUp();
        // A copy under a name of its own: the end of the session ends every process of the
        // program's executable name, and no other test's program may be among them.
        static int counter = 0;
        program_ = fs::path(BRISKO_E2E_BIN_DIR) /
                   ("BRZ-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        fs::create_directories(program_.parent_path());
        fs::copy_file(BRISKO_PROGRAM, program_, fs::copy_options::overwrite_existing);
        configHome_ = session->environment().at("XDG_CONFIG_HOME");
    }
    void TearDown() override {
        DesktopFixture::TearDown();
        std::error_code ignored;
        fs::remove(program_, ignored);
    }

    void set(const std::map<std::string, std::string>& values) {
        IniSettingsStore store(configHome_);
        SettingsKey key = OpenSettingsKey(store);
        for (const auto& [name, value] : values)
            key.write(name, value);
        key.close();
    }
    std::string get(const std::string& name) {
        IniSettingsStore store(configHome_);
        SettingsKey key = OpenSettingsKey(store);
        return key.exists(name) ? key.read(name) : "<missing>";
    }

    pid_t start(const std::vector<std::string>& arguments = {}) {
        std::vector<std::string> argv = {program_.string()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return session->spawn(argv, {}, path("brisko.out"));
    }
    std::string visibleWindow(const std::string& title) {
        std::istringstream ids(
            session->xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"}));
        std::string id;
        std::getline(ids, id);
        return id;
    }
    bool waitVisible(const std::string& title, bool visible = true,
                     std::chrono::milliseconds timeout = 30s) {
        return X11Session::waitUntil([&] { return visibleWindow(title).empty() != visible; },
                                     timeout);
    }
    bool waitExit(pid_t pid) {
        return X11Session::waitUntil([&] { return session->hasExited(pid); });
    }

    // The program's icon: its small embedded window inside the tray (Qt's 1x1 helper windows
    // are not it). Empty when none appears.
    // The program's visible windows, its popups (lists, menus) included.
    long programWindows() {
        const std::string ids = session->xdotool(
            {"search", "--onlyvisible", "--classname", program_.filename().string()});
        return std::count(ids.begin(), ids.end(), '\n');
    }

    std::string waitTrayIcon() {
        std::string icon;
        X11Session::waitUntil([&] {
            std::istringstream ids(
                session->xdotool({"search", "--onlyvisible", "--classname", "BRZ"}));
            for (std::string id; std::getline(ids, id);) {
                const std::string geometry = session->xdotool({"getwindowgeometry", id});
                int width = 0, height = 0;
                const auto at = geometry.find("Geometry: ");
                if (at == std::string::npos ||
                    std::sscanf(geometry.c_str() + at + 10, "%dx%d", &width, &height) != 2)
                    continue;
                if (width > 1 && height > 1 && width <= 64 && height <= 64) {
                    icon = id;
                    return true;
                }
            }
            return false;
        });
        return icon;
    }

    fs::path program_;
    std::string configHome_;
};

TEST_F(ProgramTest, StoredKeysWorkAndAStoredTextIsInserted) {
    const std::string started = path("started.txt");
    const std::string script = writeScript("bin/started.sh", "echo started >> '" + started + "'");
    // The settings file as a user would write it by hand.
    fs::create_directories(configHome_ + "/Orvalde");
    std::ofstream(configHome_ + "/Orvalde/Brisko.ini") << "[General]\n"
                                                          "FirstStart=Yes\n"
                                                          "F5=2\n"
                                                          "F5a="
                                                       << script
                                                       << "\n"
                                                          "F5aa=1\n"
                                                          "F6=17\n"
                                                          "F6c=\"Hallo\\r\\nWelt\"\n";
    start();
    ASSERT_TRUE(waitVisible(kMainTitle)) << X11Session::readFile(path("brisko.out"));

    const std::string text = path("text.txt");
    startTextWindow("Target", text);
    press("F5");
    EXPECT_TRUE(X11Session::waitUntil([&] { return fs::exists(started); }));
    press("F6");
    EXPECT_TRUE(X11Session::waitUntil([&] { return X11Session::readFile(text) == "Hallo\nWelt"; }))
        << X11Session::readFile(text);
    EXPECT_EQ(X11Session::readFile(text + ".keys"), "") << "the keys never reach the window";
}

TEST_F(ProgramTest, AnActionChosenInTheSlotEditorWorksAtOnce) {
    set({{"FirstStart", "Yes"}, {"Willkommen", "Nein"}});
    const pid_t brisko = start();
    ASSERT_TRUE(waitVisible(kMainTitle));
    // The stored slots are applied again 2600 ms after the start, replacing earlier edits. The
    // window appears at 2500 ms by the same clock, however slowly the program started, so the
    // wait counts from there; nothing shows the moment itself.
    std::this_thread::sleep_for(1s);
    const std::string window = visibleWindow(kMainTitle);
    focus(window);
    // F1's action list, opened with the mouse; typing picks "Alles minimieren". The list is a
    // window of its own: it is awaited open before typing and closed before the key press.
    const auto closed = programWindows();
    session->xdotool({"mousemove", "--window", window, "100", "122"});
    session->xdotool({"click", "1"});
    ASSERT_TRUE(X11Session::waitUntil([&] { return programWindows() > closed; }))
        << "no list opened";
    press("a");
    press("Return");
    ASSERT_TRUE(X11Session::waitUntil([&] { return programWindows() == closed; }))
        << "list still open";
    ASSERT_EQ(session->xprop({"-root", "_NET_SHOWING_DESKTOP"}).find("= 1"), std::string::npos);
    press("F1");
    EXPECT_TRUE(X11Session::waitUntil([&] {
        return session->xprop({"-root", "_NET_SHOWING_DESKTOP"}).find("= 1") != std::string::npos;
    }));
    ::kill(brisko, SIGTERM);
    ASSERT_TRUE(waitExit(brisko));
    EXPECT_EQ(get("F1"), "1");
}

TEST_F(ProgramTest, ASecondStartEndsAtOnceAndSilently) {
    set({{"FirstStart", "Yes"}});
    const pid_t first = start();
    ASSERT_TRUE(waitVisible(kMainTitle));
    const auto before = std::chrono::steady_clock::now();
    int status = -1;
    session->run({program_.string()}, &status);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5s)
        << "ends at once, not after the splash";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(session->hasExited(first));
    EXPECT_EQ(
        session->xdotool({"search", "--name", std::string("^") + kMainTitle + "$"}).find('\n'),
        session->xdotool({"search", "--name", std::string("^") + kMainTitle + "$"}).rfind('\n'))
        << "exactly one main window";
}

TEST_F(ProgramTest, AKilledCopyBlocksNoNextStartEvenWithItsProgramsStillRunning) {
    const std::string childPid = path("child.pid");
    const std::string script =
        writeScript("bin/long.sh", "echo $$ > '" + childPid + "'.tmp && mv '" + childPid +
                                       "'.tmp '" + childPid + "'\nexec sleep 60");
    set({{"FirstStart", "Yes"}, {"F5", "2"}, {"F5a", script}, {"F5aa", "1"}});
    const pid_t first = start();
    ASSERT_TRUE(waitVisible(kMainTitle));
    press("F5");
    ASSERT_TRUE(X11Session::waitUntil([&] { return fs::exists(childPid); }));
    const pid_t child = std::stoi(X11Session::readFile(childPid));

    ::kill(first, SIGKILL);
    ASSERT_TRUE(waitExit(first));
    ASSERT_EQ(::kill(child, 0), 0) << "the started program outlives the crash";
    const pid_t second = start();
    EXPECT_TRUE(waitVisible(kMainTitle)) << X11Session::readFile(path("brisko.out"));
    EXPECT_FALSE(session->hasExited(second));
}

TEST_F(ProgramTest, AutostartHidesIntoTheTrayAndADoubleClickBringsItBack) {
    session->spawn({"tint2"});
    set({{"FirstStart", "Yes"}, {"F7", "7"}});
    const auto before = std::chrono::steady_clock::now();
    start({"-autostart"});

    const std::string icon = waitTrayIcon();
    ASSERT_FALSE(icon.empty()) << X11Session::readFile(path("brisko.out"));
    EXPECT_GT(std::chrono::steady_clock::now() - before, 2400ms);
    EXPECT_TRUE(findWindow(kMainTitle).empty()) << "started hidden, the window is never built";
    // A key whose action asks the user works from the tray.
    press("F7");
    std::string prompt;
    ASSERT_TRUE(
        X11Session::waitUntil([&] { return !(prompt = findWindow("Google-Suche")).empty(); }));
    focus(prompt);
    press("Escape");
    EXPECT_TRUE(X11Session::waitUntil([&] { return visibleWindow("Google-Suche").empty(); }));
    EXPECT_TRUE(findWindow(kMainTitle).empty());
    session->xdotool({"mousemove", "--window", icon, "4", "4"});
    // This tray sends double clicks: a single click is not enough.
    session->xdotool({"click", "1"});
    EXPECT_FALSE(waitVisible(kMainTitle, true, 1500ms));
    session->xdotool({"click", "--repeat", "2", "--delay", "80", "1"});
    EXPECT_TRUE(waitVisible(kMainTitle));
}

TEST_F(ProgramTest, QuittingThroughTheTrayMenuWhileHiddenSavesEverything) {
    session->spawn({"tint2"});
    set({{"FirstStart", "Yes"}, {"Lang", "German"}, {"F7", "5"}});
    const pid_t brisko = start({"-autostart"});
    const std::string icon = waitTrayIcon();
    ASSERT_FALSE(icon.empty()) << X11Session::readFile(path("brisko.out"));
    const auto closed = programWindows();
    // The menu takes the keyboard once open: its "Brisko &beenden" answers to b. A click that
    // comes while the tray is still placing the icon is lost, so it is repeated.
    bool opened = false;
    for (int attempt = 0; attempt < 5 && !opened; ++attempt) {
        session->xdotool({"mousemove", "--window", icon, "4", "4"});
        session->xdotool({"click", "3"});
        opened = X11Session::waitUntil([&] { return programWindows() > closed; }, 5s);
    }
    ASSERT_TRUE(opened) << "no menu opened";
    press("b");
    ASSERT_TRUE(waitExit(brisko));
    EXPECT_EQ(get("F7"), "5");
    EXPECT_EQ(get("Lang"), "German");
    EXPECT_EQ(get("Style"), "Blue");
}

TEST_F(ProgramTest, ClosingThroughTheWindowManagerWritesSlotsStyleAndLanguage) {
    set({{"FirstStart", "Yes"},
         {"Lang", "English"},
         {"F2", "2"},
         {"F2a", "/bin/true"},
         {"F2aa", "3"}});
    const pid_t brisko = start();
    ASSERT_TRUE(waitVisible(kMainTitle));
    const std::string window = visibleWindow(kMainTitle);
    focus(window);
    press("alt+F4");
    ASSERT_TRUE(waitExit(brisko));
    EXPECT_EQ(get("Style"), "Blue");
    EXPECT_EQ(get("Lang"), "English");
    EXPECT_EQ(get("F1"), "0");
    EXPECT_EQ(get("F2"), "2");
    EXPECT_EQ(get("F2a"), "/bin/true");
    EXPECT_EQ(get("F2aa"), "3");
}

TEST_F(ProgramTest, SigtermAndSighupSaveTheSlotsButNotTheStyle) {
    for (int signal : {SIGTERM, SIGHUP}) {
        // The ended copy's window may outlive it briefly; the next copy's is the one to await.
        ASSERT_TRUE(waitVisible(kMainTitle, false));
        fs::remove_all(configHome_ + "/Orvalde");
        set({{"FirstStart", "Yes"}, {"F9", "17"}, {"F9c", "Text"}});
        const pid_t brisko = start();
        ASSERT_TRUE(waitVisible(kMainTitle));
        ::kill(brisko, signal);
        ASSERT_TRUE(waitExit(brisko)) << signal;
        for (int n = 1; n <= 11; ++n)
            EXPECT_EQ(get("F" + std::to_string(n)), n == 9 ? "17" : "0") << signal << " F" << n;
        EXPECT_EQ(get("F9c"), "Text");
        EXPECT_EQ(get("Style"), "<missing>") << signal;
    }
}

TEST_F(ProgramTest, CtrlCQuitsAsThroughTheMenuAndSavesEverything) {
    set({{"FirstStart", "Yes"}, {"F4", "8"}});
    const pid_t brisko = start();
    ASSERT_TRUE(waitVisible(kMainTitle));
    ::kill(brisko, SIGINT);
    ASSERT_TRUE(waitExit(brisko));
    EXPECT_EQ(get("F4"), "8");
    EXPECT_EQ(get("Style"), "Blue");
}

TEST_F(ProgramTest, TheFirstStartNoticeAppearsOnlyOnce) {
    const pid_t first = start();
    ASSERT_TRUE(waitVisible("Erster Start / First Start"));
    focus(visibleWindow("Erster Start / First Start"));
    press("Return");
    ASSERT_TRUE(X11Session::waitUntil([&] { return get("FirstStart") == "Yes"; }));
    session->stop(first);

    start();
    ASSERT_TRUE(waitVisible(kMainTitle));
    EXPECT_FALSE(waitVisible("Erster Start / First Start", true, 1500ms));
}

}  // namespace
}  // namespace brisko::testing

namespace brisko::testing {
namespace {

// The update check against a web server on 127.0.0.1, the information window and the help,
// all reached through the menus.
TEST_F(ProgramTest, UpdateCheckInformationAndHelpThroughTheMenus) {
    fs::create_directories(path("site"));
    std::ofstream(path("site/version.nfo"), std::ios::binary) << "Brisko 9.9\r\nnotes\r\n";
    session->spawn({"python3", "-u", "-m", "http.server", "--bind", "127.0.0.1", "--directory",
                    path("site"), "0"},
                   {}, path("http.out"));
    std::string port;
    ASSERT_TRUE(X11Session::waitUntil([&] {
        const std::string out = X11Session::readFile(path("http.out"));
        const auto at = out.find(" port ");
        if (at == std::string::npos)
            return false;
        port = std::to_string(std::atoi(out.c_str() + at + 6));
        return port != "0";
    }));
    const std::string site = "http://127.0.0.1:" + port;
    set({{"FirstStart", "Yes"}});
    session->spawn({program_.string()}, {{"BRISKO_UPDATE_SITE", site}}, path("brisko.out"));
    ASSERT_TRUE(waitVisible(kMainTitle)) << X11Session::readFile(path("brisko.out"));
    const std::string main = visibleWindow(kMainTitle);
    auto menu = [&](const std::string& title, const std::string& item) {
        focus(main);
        press(title);
        press(item);
    };
    auto clickAt = [&](const std::string& window, int x, int y) {
        session->xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y)});
        session->xdotool({"click", "1"});
    };

    menu("alt+e", "a");
    ASSERT_TRUE(waitVisible("Brisko aktalisieren"));
    const std::string update = visibleWindow("Brisko aktalisieren");
    clickAt(update, 160, 190);  // "Auf neue Version testen"
    const std::string copy = session->environment().at("XDG_CACHE_HOME") + "/brisko/version.nfo";
    ASSERT_TRUE(X11Session::waitUntil([&] { return fs::exists(copy); }))
        << X11Session::readFile(path("brisko.out"));
    EXPECT_EQ(X11Session::readFile(copy), "Brisko 9.9\r\nnotes\r\n");
    // Another version is on offer: the download button works. It is enabled only once the
    // dialog has read the answer, a moment after the copy is written: click until the download
    // notice appears (while it is open, the modal notice keeps further clicks away).
    ASSERT_TRUE(X11Session::waitUntil([&] {
        clickAt(update, 320, 190);
        return waitVisible("Brisko", true, 1s);
    }));
    focus(visibleWindow("Brisko"));
    press("Return");
    ASSERT_TRUE(X11Session::waitUntil([&] { return !session->recorded("xdg-open").empty(); }));
    EXPECT_EQ(session->recorded("xdg-open")[0], site + "/BriskoUp.zip");
    clickAt(update, 360, 238);  // "Abbrechen"
    ASSERT_TRUE(waitVisible("Brisko aktalisieren", false));

    menu("alt+question", "f");
    ASSERT_TRUE(waitVisible("Info"));
    clickAt(visibleWindow("Info"), 60, 60);
    ASSERT_TRUE(waitVisible("Info", false));

    menu("alt+question", "h");
    ASSERT_TRUE(X11Session::waitUntil([&] { return session->recorded("xdg-open").size() == 2; }));
    EXPECT_NE(session->recorded("xdg-open")[1].find("/help/de/index.html"), std::string::npos)
        << session->recorded("xdg-open")[1];
}

}  // namespace
}  // namespace brisko::testing
