// What a Wayland session shares with X11 (tray, single instance, options and autostart, the
// language file, the settings), once on Wayland. Headless weston takes no faked input: the
// program is driven as a panel and a screen reader drive it, through the tray's menu on the
// bus and the accessibility interface (panel_mock.py, panel_driver.py).
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "PortalDesktop.h"
#include "platform/linux/IniSettingsStore.h"

namespace brisko::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The program's environment under weston, with the panel on the session bus.
class DesktopOnWayland : public ::testing::Test {
protected:
    explicit DesktopOnWayland(bool globalShortcuts = true) : desktop(globalShortcuts) {
        env = {{"WAYLAND_DISPLAY", desktop.startWeston()},
               {"QT_QPA_PLATFORM", "wayland"},
               {"DISPLAY", ""}};
        session.spawn({"/usr/bin/python3", "-m", "dbusmock", "--template", BRISKO_PANEL_MOCK});
        if (!X11Session::waitUntil([&] { return desktop.nameOwned("org.a11y.Bus"); }))
            throw std::runtime_error("the panel mock did not start");
    }
    // The panel's answer, or "!" when what was asked for is not there.
    std::string panel(const std::vector<std::string>& args) {
        std::vector<std::string> argv = {"/usr/bin/python3", BRISKO_PANEL_DRIVER};
        argv.insert(argv.end(), args.begin(), args.end());
        int status = 0;
        const std::string out = session.run(argv, &status);
        return status == 0 ? out : "!";
    }

    PortalDesktop desktop;
    X11Session& session = desktop.session();
    std::map<std::string, std::string> env;
    const std::string out = session.dir() + "/brisko.out";
};

TEST_F(DesktopOnWayland, TraySingleInstanceAutostartLanguageAndSettings) {
    const std::string configHome = session.environment().at("XDG_CONFIG_HOME");
    {
        IniSettingsStore store(configHome);
        SettingsKey key = OpenSettingsKey(store);
        for (const auto& [name, value] : std::map<std::string, std::string>{
                 {"FirstStart", "Yes"}, {"Lang", "English"}, {"F5", "2"}, {"F5a", "/bin/true"}})
            key.write(name, value);
        key.close();
    }
    const auto get = [&](const std::string& name) {
        IniSettingsStore store(configHome);
        SettingsKey key = OpenSettingsKey(store);
        return key.exists(name) ? key.read(name) : "<missing>";
    };
    const auto press = [&](const std::string& name) {
        return X11Session::waitUntil([&] { return panel({"press", name}) != "!"; });
    };
    const std::string autostart = configHome + "/autostart/BRZ.desktop";

    // The English file is applied: the menu answers to its English entry. The options dialog's
    // check box writes the autostart entry.
    const pid_t first = session.spawn({BRISKO_PROGRAM}, env, out);
    ASSERT_TRUE(press("Options ...")) << X11Session::readFile(out);
    ASSERT_TRUE(press("Always start Brisko with Windows"));
    ASSERT_TRUE(press("Save"));
    ASSERT_TRUE(X11Session::waitUntil([&] { return fs::exists(autostart); }));
    EXPECT_NE(X11Session::readFile(autostart).find(std::string("\nExec=") + BRISKO_PROGRAM +
                                                   " -autostart\n"),
              std::string::npos)
        << X11Session::readFile(autostart);

    // A second copy in the same session ends at once and leaves the first running.
    const pid_t second = session.spawn({BRISKO_PROGRAM}, env, out + "2");
    int status = -1;
    EXPECT_TRUE(X11Session::waitUntil([&] { return session.hasExited(second, &status); }, 10s));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(session.hasExited(first));

    ASSERT_TRUE(press("Exit"));
    ASSERT_TRUE(X11Session::waitUntil([&] { return session.hasExited(first); }));
    EXPECT_EQ(get("Style"), "Blue");
    EXPECT_EQ(get("Lang"), "English");

    // Started by the autostart entry's switch, the program hides into the tray (a
    // StatusNotifierItem) with its English menu, and finds its settings as it left them.
    const pid_t again = session.spawn({BRISKO_PROGRAM, "-autostart"}, env, out);
    std::string item;
    ASSERT_TRUE(X11Session::waitUntil([&] { return (item = panel({"items"})) != "!"; }))
        << X11Session::readFile(out);
    item = item.substr(0, item.find('\n'));
    const std::string menu = panel({"menu", item});
    const auto entry = [&](const std::string& label) {
        std::istringstream lines(menu);
        for (std::string line; std::getline(lines, line);)
            if (line.size() > label.size() && line.substr(line.find('\t') + 1) == label)
                return line.substr(0, line.find('\t'));
        return std::string("!");
    };
    ASSERT_NE(entry("_Open Brisko"), "!") << menu;
    ASSERT_NE(entry("_Quit Brisko"), "!") << menu;
    EXPECT_TRUE(X11Session::waitUntil([&] {
        return desktop.mock("LastBound") == "F5=Custom program@F5";
    })) << desktop.mock("LastBound");

    // The tray's menu brings the window back (its menu is reached only then). The check box
    // shows the stored entry: pressed once more, it removes it.
    panel({"click", item, entry("_Open Brisko")});
    ASSERT_TRUE(press("Options ..."));
    ASSERT_TRUE(press("Always start Brisko with Windows"));
    ASSERT_TRUE(press("Save"));
    EXPECT_TRUE(X11Session::waitUntil([&] { return !fs::exists(autostart); }));

    ASSERT_TRUE(press("Exit"));
    EXPECT_TRUE(X11Session::waitUntil([&] { return session.hasExited(again); }))
        << X11Session::readFile(out);
}

class WithoutGlobalShortcuts : public DesktopOnWayland {
protected:
    WithoutGlobalShortcuts() : DesktopOnWayland(false) {}
};

// The notice comes once, as the tray's balloon: a notification of the desktop.
TEST_F(WithoutGlobalShortcuts, TheNoticeIsANotification) {
    {
        IniSettingsStore store(session.environment().at("XDG_CONFIG_HOME"));
        SettingsKey key = OpenSettingsKey(store);
        key.write("FirstStart", "Yes");
        key.write("Lang", "English");
        key.write("F5", "1");
        key.close();
    }
    const pid_t program = session.spawn({BRISKO_PROGRAM}, env, out);
    std::string notes;
    ASSERT_TRUE(X11Session::waitUntil([&] { return (notes = panel({"notes"})) != "!"; }))
        << X11Session::readFile(out);
    EXPECT_EQ(notes.rfind("Brisko\tThis desktop offers programs no global shortcuts: ", 0), 0u)
        << notes;
    EXPECT_NE(notes.find("xdg-desktop-portal-gnome"), std::string::npos) << notes;
    EXPECT_FALSE(session.hasExited(program)) << X11Session::readFile(out);
}

}  // namespace
}  // namespace brisko::testing
