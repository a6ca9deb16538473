// The program in a Wayland session: its keys come from the desktop's GlobalShortcuts portal,
// whether Qt draws through Wayland itself or through XWayland; what its actions can ask of the
// desktop there.
#include <gtest/gtest.h>

#include "PortalDesktop.h"
#include "platform/linux/IniSettingsStore.h"

namespace brisko::testing {
namespace {

using namespace std::chrono_literals;

class ProgramOnWayland : public ::testing::TestWithParam<bool> {};

TEST_P(ProgramOnWayland, F5FromThePortalStartsTheProgramOfSlot5) {
    const bool throughXWayland = GetParam();
    PortalDesktop desktop;
    X11Session& session = desktop.session();
    const std::string socket = desktop.startWeston(throughXWayland);
    {
        IniSettingsStore store(session.environment().at("XDG_CONFIG_HOME"));
        SettingsKey key = OpenSettingsKey(store);
        for (const auto& [name, value] :
             std::map<std::string, std::string>{{"FirstStart", "Yes"},
                                                {"F5", "2"},
                                                {"F5a", session.dir() + "/bin/started"},
                                                {"F5aa", "1"},
                                                {"F6", "17"},
                                                {"F6c", "Hi"}})
            key.write(name, value);
        key.close();
    }
    std::map<std::string, std::string> env = {{"WAYLAND_DISPLAY", socket}};
    if (throughXWayland) {
        env["QT_QPA_PLATFORM"] = "xcb";
        env["DISPLAY"] = desktop.xwaylandDisplay();
    } else {
        env["QT_QPA_PLATFORM"] = "wayland";
        env["DISPLAY"] = "";
    }
    const std::string out = session.dir() + "/brisko.out";
    const pid_t program = session.spawn({BRISKO_PROGRAM}, env, out);

    // Slot 5 reaches the desktop as the bare F5 named after its action; nothing else does.
    ASSERT_TRUE(
        X11Session::waitUntil([&] { return desktop.mock("LastBound").rfind("F5=", 0) == 0; }, 30s))
        << X11Session::readFile(out);
    ASSERT_TRUE(X11Session::waitUntil(
        [&] { return desktop.mock("LastBound").find("F6=") != std::string::npos; }));
    EXPECT_EQ(desktop.mock("LastBound"), "F5=Benutzerdefiniertes Programm@F5;F6=Text einfügen@F6");

    desktop.mock("Activate", {"string:F4"});  // no slot: nothing happens
    desktop.mock("Activate", {"string:F5"});
    EXPECT_TRUE(X11Session::waitUntil([&] { return session.recorded("started").size() == 1; }))
        << X11Session::readFile(out);

    // The text of slot 6 is typed through the portal's keyboard; its Ctrl+V never is.
    desktop.mock("Activate", {"string:F6"});
    EXPECT_TRUE(X11Session::waitUntil([&] { return desktop.mock("Keys") == "48+ 48- 69+ 69-"; }))
        << desktop.mock("Keys");
    int status = 0;
    EXPECT_FALSE(session.hasExited(program, &status)) << status << X11Session::readFile(out);
}

TEST(ActionsOnWayland, MinimiseAllAsksKWinOnPlasmaAndSaysSoWithoutIt) {
    PortalDesktop desktop;
    X11Session& session = desktop.session();
    const std::string log = session.dir() + "/driver.log";
    // The driver of the n-th run binds F1 (1 "Alles minimieren") in the n-th portal session.
    auto pressF1 = [&](int run) {
        const pid_t driver =
            session.spawn({BRISKO_X11_DRIVER, "--log", log, "F1=1"},
                          {{"BRISKO_BACKEND", "wayland"}, {"XDG_CURRENT_DESKTOP", "KDE"}});
        EXPECT_TRUE(X11Session::waitUntil([&] {
            return desktop.mock("SessionCount") == std::to_string(run) &&
                   desktop.mock("LastBound").rfind("F1=", 0) == 0;
        })) << X11Session::readFile(log);
        desktop.mock("Activate", {"string:F1"});
        return driver;
    };

    // Plasma without KWin's shortcuts service (KWin not running): nothing to ask, and it says so.
    const pid_t first = pressF1(1);
    EXPECT_TRUE(X11Session::waitUntil([&] {
        return X11Session::readFile(log).find(
                   "message: Dieser Desktop lässt Programme nicht alle Fenster minimieren.") !=
               std::string::npos;
    })) << X11Session::readFile(log);
    session.stop(first);

    const auto kwin =
        session.mockSessionService("org.kde.kglobalaccel", "/component/kwin",
                                   "org.kde.kglobalaccel.Component", "invokeShortcut", "s");
    ASSERT_TRUE(kwin);
    std::remove(log.c_str());
    pressF1(2);
    EXPECT_TRUE(X11Session::waitUntil([&] {
        return kwin({"org.freedesktop.DBus.Mock.GetCalls"}).find("Show Desktop") !=
               std::string::npos;
    }));
    EXPECT_EQ(X11Session::readFile(log).find("message:"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Qt, ProgramOnWayland, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "XWayland" : "Wayland"; });

}  // namespace
}  // namespace brisko::testing
