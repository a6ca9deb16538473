// The backend on a real X server: every kind of action observed by its effect.
#include <signal.h>
#include <sys/wait.h>
#include <xcb/xcb.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "DesktopFixture.h"

namespace brisko::testing {
namespace {

using namespace std::chrono_literals;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

int CountLines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

using MockSender = X11Session::MockSender;

// Slot actions by index, as the catalogue numbers them.
constexpr const char* kMinimizeAll = "1";
constexpr const char* kCustomProgram = "2";
constexpr const char* kDisplayProperties = "3";
constexpr const char* kPaste = "6";
constexpr const char* kGoogleSearch = "7";
constexpr const char* kCopy = "8";
constexpr const char* kCloseProgram = "11";
constexpr const char* kSearchDialog = "13";
constexpr const char* kStartMenu = "14";
constexpr const char* kControlPanel = "16";
constexpr const char* kInsertText = "17";
constexpr const char* kWebPage = "18";
constexpr const char* kShutdown = "19";
constexpr const char* kRestart = "20";
constexpr const char* kLogOff = "21";

std::string Slot(int n, const char* action) {
    return "F" + std::to_string(n) + "=" + action;
}
std::string Field(int n, const std::string& field, const std::string& value) {
    return "F" + std::to_string(n) + "." + field + "=" + value;
}

class StartedProgramTest : public DesktopFixture {};

TEST_F(StartedProgramTest, StartsDetachedWithoutShellAndAppliesShowCommand) {
    // A path with blanks proves that no shell splits it; the script reports its pid and where
    // its standard output goes, then becomes a window under the same pid.
    const std::string started = path("started.log");
    const std::string big = writeScript("my apps/start big.sh",
                                        "echo \"$$ $(readlink /proc/$$/fd/1) $#\" >> '" + started +
                                            "'\nexec '" BRISKO_X11_TEXT_WINDOW "' --title Big");
    const std::string small = writeScript(
        "my apps/start small.sh",
        "echo \"$$\" >> '" + started + "'\nexec '" BRISKO_X11_TEXT_WINDOW "' --title Small");
    startDriver({Slot(5, kCustomProgram), Field(5, "path", big), Field(5, "show", "3"),
                 Slot(6, kCustomProgram), Field(6, "path", small), Field(6, "show", "2")});

    press("F5");
    ASSERT_TRUE(X11Session::waitUntil([&] { return !X11Session::readFile(started).empty(); }));
    std::istringstream first(X11Session::readFile(started));
    pid_t pid = 0;
    std::string output;
    int argumentCount = -1;
    first >> pid >> output >> argumentCount;
    EXPECT_EQ(output, "/dev/null");
    EXPECT_EQ(argumentCount, 0);

    std::string big_window;
    ASSERT_TRUE(X11Session::waitUntil([&] { return !(big_window = findWindow("Big")).empty(); }));
    EXPECT_TRUE(X11Session::waitUntil([&] {
        return Has(session->xprop({"-id", big_window, "_NET_WM_STATE"}),
                   "_NET_WM_STATE_MAXIMIZED_VERT");
    })) << session->xprop({"-id", big_window, "_NET_WM_STATE"});

    press("F6");
    std::string small_window;
    ASSERT_TRUE(
        X11Session::waitUntil([&] { return !(small_window = findWindow("Small")).empty(); }));
    EXPECT_TRUE(X11Session::waitUntil([&] {
        return Has(session->xprop({"-id", small_window, "WM_STATE"}), "Iconic");
    }));

    // The driver reaps what it started: once the program ends, nothing is left behind.
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    EXPECT_TRUE(X11Session::waitUntil([&] {
        return !std::filesystem::exists("/proc/" + std::to_string(pid));
    })) << X11Session::readFile("/proc/" + std::to_string(pid) + "/stat");
}

class DesktopToolsTest : public DesktopFixture {
protected:
    X11Session::Options options() const override {
        X11Session::Options o;
        o.currentDesktop = "XFCE";
        o.recordedCommands = {"xdg-open", "xfce4-settings-manager", "xfce4-display-settings",
                              "xfce4-popup-whiskermenu", "catfish"};
        return o;
    }
};

TEST_F(DesktopToolsTest, OpensAddressesDocumentsAndTheDesktopsOwnTools) {
    const std::string document = path("notes.txt");
    std::ofstream(document) << "hello";
    // Executable, but not a program the kernel can run: it is a document too.
    const std::string unrunnable = path("readme.run");
    std::ofstream(unrunnable) << "just text";
    std::filesystem::permissions(unrunnable, std::filesystem::perms::owner_all);
    startDriver({Slot(1, kWebPage), Field(1, "url", "https://example.org/a?b=c d"),
                 Slot(2, kCustomProgram), Field(2, "path", document), Slot(3, kControlPanel),
                 Slot(4, kDisplayProperties), Slot(7, kStartMenu), Slot(8, kSearchDialog),
                 Slot(9, kMinimizeAll), Slot(10, kCustomProgram), Field(10, "path", unrunnable)});

    press("F1");
    ASSERT_TRUE(X11Session::waitUntil([&] { return session->recorded("xdg-open").size() == 1; }));
    press("F2");
    ASSERT_TRUE(X11Session::waitUntil([&] { return session->recorded("xdg-open").size() == 2; }));
    press("F10");
    ASSERT_TRUE(X11Session::waitUntil([&] { return session->recorded("xdg-open").size() == 3; }));
    EXPECT_EQ(session->recorded("xdg-open")[0], "https://example.org/a?b=c d");
    EXPECT_EQ(session->recorded("xdg-open")[1], document);
    EXPECT_EQ(session->recorded("xdg-open")[2], unrunnable);

    press("F3");
    press("F4");
    press("F7");
    press("F8");
    EXPECT_TRUE(X11Session::waitUntil([&] {
        return session->recorded("xfce4-settings-manager").size() == 1 &&
               session->recorded("xfce4-display-settings").size() == 1 &&
               session->recorded("xfce4-popup-whiskermenu").size() == 1 &&
               session->recorded("catfish").size() == 1;
    }));
    EXPECT_EQ(session->recorded("catfish").at(0), "--path=" + path("home"));

    // The minimise-all file toggles the desktop, as its Windows counterpart does.
    press("F9");
    EXPECT_TRUE(X11Session::waitUntil([&] {
        return Has(session->xprop({"-root", "_NET_SHOWING_DESKTOP"}), "= 1");
    }));
    press("F9");
    EXPECT_TRUE(X11Session::waitUntil([&] {
        return Has(session->xprop({"-root", "_NET_SHOWING_DESKTOP"}), "= 0");
    }));
}

class PlasmaTest : public DesktopFixture {
protected:
    X11Session::Options options() const override {
        X11Session::Options o;
        o.currentDesktop = "KDE";
        return o;
    }
};

TEST_F(PlasmaTest, StartMenuOpensPlasmasLauncherOverDBus) {
    const MockSender send = session->mockSessionService(
        "org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell", "activateLauncherMenu", "");
    ASSERT_TRUE(send);
    startDriver({Slot(2, kStartMenu)});
    press("F2");
    EXPECT_TRUE(X11Session::waitUntil(
        [&] { return Has(send({"org.freedesktop.DBus.Mock.GetCalls"}), "activateLauncherMenu"); }));
}

TEST_F(DesktopToolsTest, WebSearchAsksForTermAndOpensEncodedResults) {
    startDriver({Slot(7, kGoogleSearch)});
    press("F7");
    std::string prompt;
    ASSERT_TRUE(
        X11Session::waitUntil([&] { return !(prompt = findWindow("Google-Suche")).empty(); }));
    focus(prompt);
    session->xdotool({"type", "--delay", "5", "salt & pepper/2"});
    press("Return");
    ASSERT_TRUE(X11Session::waitUntil([&] { return session->recorded("xdg-open").size() == 1; }));
    EXPECT_EQ(session->recorded("xdg-open")[0],
              "https://www.google.com/search?q=salt%20%26%20pepper%2F2");
}

class KeystrokesTest : public DesktopFixture {};

TEST_F(KeystrokesTest, CopyPasteInsertAndCloseReachTheFocusedWindow) {
    startDriver({Slot(8, kCopy), Slot(6, kPaste), Slot(3, kInsertText),
                 Field(3, "text", "zwei\\nZeilen"), Slot(11, kCloseProgram)});
    const std::string source = path("source.txt");
    startTextWindow("Source", source, {"--text", "alpha beta", "--select-all"});
    press("F8");
    EXPECT_TRUE(X11Session::waitUntil([&] {
        return session->run({"xclip", "-o", "-selection", "clipboard"}) == "alpha beta";
    }));

    const std::string target = path("target.txt");
    const std::string targetWindow = startTextWindow("Target", target);
    press("F6");
    EXPECT_TRUE(X11Session::waitUntil([&] { return X11Session::readFile(target) == "alpha beta"; }))
        << X11Session::readFile(target);
    press("F3");
    EXPECT_TRUE(X11Session::waitUntil([&] {
        return X11Session::readFile(target) == "alpha betazwei\nZeilen";
    })) << X11Session::readFile(target);

    // Alt+F4: openbox closes the focused window.
    press("F11");
    EXPECT_TRUE(X11Session::waitUntil([&] { return findWindow("Target").empty(); }));
    EXPECT_FALSE(findWindow("Source").empty());
}

TEST_F(KeystrokesTest, InsertedTextWinsOverWhatTheFocusedProgramJustCopied) {
    // The focused program owns the clipboard from a copy a moment ago and nothing else has
    // happened on the desktop since: the slot's text must still take the clipboard over.
    startDriver({Slot(3, kInsertText), Field(3, "text", "neu")});
    const std::string file = path("same.txt");
    startTextWindow("Same", file, {"--text", "alt", "--select-all"});
    press("ctrl+c");
    EXPECT_TRUE(X11Session::waitUntil([&] {
        return session->run({"xclip", "-o", "-selection", "clipboard"}) == "alt";
    }));
    press("End");
    press("F3");
    EXPECT_TRUE(X11Session::waitUntil([&] { return X11Session::readFile(file) == "altneu"; }))
        << X11Session::readFile(file);
}

class GrabTest : public DesktopFixture {};

TEST_F(GrabTest, KeysWorkWithLocksOnAndModifiedKeysAreLeftAlone) {
    const std::string marks = path("marks.log");
    const std::string mark = writeScript("mark.sh", "echo x >> '" + marks + "'");
    startDriver({Slot(5, kCustomProgram), Field(5, "path", mark)});
    const std::string typed = path("typed.txt");
    startTextWindow("Typed", typed);

    press("shift+F5");
    EXPECT_TRUE(X11Session::waitUntil(
        [&] { return X11Session::readFile(typed + ".keys") == "Shift+F5\n"; }));
    press("F5");
    ASSERT_TRUE(
        X11Session::waitUntil([&] { return CountLines(X11Session::readFile(marks)) == 1; }));

    press("Num_Lock");
    press("F5");
    EXPECT_TRUE(
        X11Session::waitUntil([&] { return CountLines(X11Session::readFile(marks)) == 2; }));
    press("Caps_Lock");
    press("F5");
    EXPECT_TRUE(
        X11Session::waitUntil([&] { return CountLines(X11Session::readFile(marks)) == 3; }));
    press("Num_Lock");
    press("F5");
    EXPECT_TRUE(
        X11Session::waitUntil([&] { return CountLines(X11Session::readFile(marks)) == 4; }));
    // The bare press never reached the focused window; only Shift+F5 did.
    EXPECT_EQ(X11Session::readFile(typed + ".keys"), "Shift+F5\n");
}

TEST_F(GrabTest, KeyHeldByAnotherClientIsTakenOnceReleased) {
    const std::string other = path("other.log");
    const std::string ours = path("ours.log");
    std::ofstream(path("xbindkeysrc")) << "\"echo x >> '" << other << "'\"\n  F6\n";
    const pid_t xbindkeys = session->spawn({"xbindkeys", "-n", "-f", path("xbindkeysrc")});
    ASSERT_TRUE(X11Session::waitUntil([&] {
        press("F6");
        return !X11Session::readFile(other).empty();
    }));

    const std::string mark = writeScript("mark.sh", "echo x >> '" + ours + "'");
    startDriver({Slot(6, kCustomProgram), Field(6, "path", mark)});
    const int otherBefore = CountLines(X11Session::readFile(other));
    press("F6");
    EXPECT_TRUE(X11Session::waitUntil(
        [&] { return CountLines(X11Session::readFile(other)) == otherBefore + 1; }));
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(X11Session::readFile(ours).empty());

    session->stop(xbindkeys);
    std::this_thread::sleep_for(100ms);  // a few ticks
    press("F6");
    EXPECT_TRUE(X11Session::waitUntil([&] { return !X11Session::readFile(ours).empty(); }, 3s));
    EXPECT_EQ(CountLines(X11Session::readFile(other)), otherBefore + 1);
}

TEST_F(GrabTest, HeldKeyRepeatsAndANewKeymapIsFollowed) {
    const std::string marks = path("marks.log");
    const std::string mark = writeScript("mark.sh", "echo x >> '" + marks + "'");
    startDriver({Slot(5, kCustomProgram), Field(5, "path", mark)});

    // Held down, the key repeats its press, as a Windows hotkey does.
    session->xdotool({"keydown", "F5"});
    std::this_thread::sleep_for(1500ms);
    session->xdotool({"keyup", "F5"});
    EXPECT_TRUE(X11Session::waitUntil([&] { return CountLines(X11Session::readFile(marks)) >= 3; }))
        << CountLines(X11Session::readFile(marks));
    std::this_thread::sleep_for(300ms);
    const int afterRepeat = CountLines(X11Session::readFile(marks));

    // Move F5 to a keycode of its own; the grab must follow the new mapping.
    xcb_connection_t* c = xcb_connect(session->display().c_str(), nullptr);
    ASSERT_FALSE(xcb_connection_has_error(c));
    const xcb_setup_t* setup = xcb_get_setup(c);
    auto cookie = xcb_get_keyboard_mapping(
        c, setup->min_keycode,
        static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1));
    xcb_get_keyboard_mapping_reply_t* map = xcb_get_keyboard_mapping_reply(c, cookie, nullptr);
    ASSERT_NE(map, nullptr);
    const int per = map->keysyms_per_keycode;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    int oldCode = 0;
    int freeCode = 0;
    for (int code = setup->max_keycode; code >= setup->min_keycode; --code) {
        const xcb_keysym_t* row = syms + (code - setup->min_keycode) * per;
        if (row[0] == 0xffc2)
            oldCode = code;
        bool empty = true;
        for (int i = 0; i < per; ++i)
            empty &= row[i] == 0;
        if (empty && freeCode == 0)
            freeCode = code;
    }
    std::free(map);
    ASSERT_NE(oldCode, 0);
    ASSERT_NE(freeCode, 0);
    std::vector<xcb_keysym_t> f13(static_cast<std::size_t>(per), 0);
    f13[0] = 0xffca;
    std::vector<xcb_keysym_t> f5(static_cast<std::size_t>(per), 0);
    f5[0] = 0xffc2;
    xcb_change_keyboard_mapping(c, 1, static_cast<xcb_keycode_t>(oldCode),
                                static_cast<std::uint8_t>(per), f13.data());
    xcb_change_keyboard_mapping(c, 1, static_cast<xcb_keycode_t>(freeCode),
                                static_cast<std::uint8_t>(per), f5.data());
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);

    std::this_thread::sleep_for(500ms);  // the debounce, then the re-grab
    press("F5");
    EXPECT_TRUE(X11Session::waitUntil(
        [&] { return CountLines(X11Session::readFile(marks)) == afterRepeat + 1; }, 3s))
        << CountLines(X11Session::readFile(marks)) << " after " << afterRepeat;
}

class PowerTest : public DesktopFixture {
protected:
    // A copy of the driver under a name of its own: ending "every process of the program"
    // must never reach another test's driver.
    std::string uniqueDriver(const std::string& name) {
        const std::string copy = path(name);
        std::filesystem::copy_file(BRISKO_X11_DRIVER, copy);
        return copy;
    }
};

TEST_F(PowerTest, ShutdownAndRestartSaveAskLogindAndEndTheProgram) {
    const std::string shutdownName = "BRZ-down-" + std::to_string(::getpid());
    const pid_t down = startDriver({Slot(1, kShutdown), "--own-name", shutdownName}, "down.log", {},
                                   uniqueDriver(shutdownName));
    press("F1");
    int status = -1;
    ASSERT_TRUE(X11Session::waitUntil([&] { return session->hasExited(down, &status); }));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(Has(session->logindCalls(), "PowerOff"));
    EXPECT_FALSE(Has(session->logindCalls(), "Reboot"));
    const auto downReports = reports("down.log");
    EXPECT_NE(std::find(downReports.begin(), downReports.end(), "saved"), downReports.end());

    const std::string restartName = "BRZ-re-" + std::to_string(::getpid());
    const pid_t re = startDriver({Slot(2, kRestart), "--own-name", restartName}, "re.log", {},
                                 uniqueDriver(restartName));
    press("F2");
    ASSERT_TRUE(X11Session::waitUntil([&] { return session->hasExited(re); }));
    EXPECT_TRUE(Has(session->logindCalls(), "Reboot"));
}

TEST_F(PowerTest, LogOffEndsTheOwnSessionThroughLogind) {
    startDriver({Slot(4, kLogOff)});
    press("F4");
    EXPECT_TRUE(X11Session::waitUntil([&] {
        const std::string calls = session->logindCalls();
        return Has(calls, "TerminateSession") && Has(calls, "\"c1\"");
    })) << session->logindCalls();
    std::this_thread::sleep_for(200ms);
    for (const auto& line : reports())
        EXPECT_EQ(line.rfind("message:", 0), std::string::npos);
}

TEST_F(PowerTest, LogOffAsksTheRunningSessionManagerFirst) {
    const MockSender send =
        session->mockSessionService("org.xfce.SessionManager", "/org/xfce/SessionManager",
                                    "org.xfce.Session.Manager", "Logout", "bb");
    ASSERT_TRUE(send);
    startDriver({Slot(4, kLogOff)});
    press("F4");
    EXPECT_TRUE(X11Session::waitUntil(
        [&] { return Has(send({"org.freedesktop.DBus.Mock.GetCalls"}), "Logout"); }));
    const std::string calls = send({"org.freedesktop.DBus.Mock.GetCalls"});
    // Without a dialog, allowing the programs to save.
    EXPECT_TRUE(Has(calls, "boolean false") && Has(calls, "boolean true")) << calls;
    EXPECT_FALSE(Has(session->logindCalls(), "TerminateSession"));
}

TEST_F(PowerTest, SessionManagerThatRefusesIsNotOverruledByLogind) {
    const MockSender send =
        session->mockSessionService("org.gnome.SessionManager", "/org/gnome/SessionManager",
                                    "org.gnome.SessionManager", "Logout", "u",
                                    "raise dbus.exceptions.DBusException('inhibited', "
                                    "name='org.gnome.SessionManager.NotInRunning')");
    ASSERT_TRUE(send);
    startDriver({Slot(4, kLogOff)});
    press("F4");
    // The user's programs keep their say: no forced end of the session, the message instead.
    EXPECT_TRUE(waitForReport("message: Beim Abmelden ist ein Fehler aufgetreten"));
    EXPECT_TRUE(Has(send({"org.freedesktop.DBus.Mock.GetCalls"}), "Logout"));
    EXPECT_FALSE(Has(session->logindCalls(), "TerminateSession"));
}

TEST_F(PowerTest, RefusedLogOffShowsTheMessageOncePerPress) {
    // No session id: logind finds none for the driver, so the request fails.
    startDriver({Slot(4, kLogOff)}, "driver.log", {{"XDG_SESSION_ID", ""}});
    press("F4");
    press("F4");
    const std::string message = "message: Beim Abmelden ist ein Fehler aufgetreten";
    EXPECT_TRUE(waitForReport(message, "driver.log", 2));
    std::this_thread::sleep_for(200ms);
    const auto lines = reports();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), message), 2);
}

TEST_F(PowerTest, MissingPrivateSystemBusFailsInsteadOfReachingTheRealOne) {
    const std::map<std::string, std::string> noBus = {
        {"DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + path("missing-bus")}};
    startDriver({Slot(4, kLogOff)}, "driver.log", noBus);
    press("F4");
    EXPECT_TRUE(waitForReport("message: Beim Abmelden ist ein Fehler aufgetreten"));
    EXPECT_FALSE(Has(session->logindCalls(), "TerminateSession"));
}

}  // namespace
}  // namespace brisko::testing
