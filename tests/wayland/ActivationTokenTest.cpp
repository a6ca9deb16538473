// Started programs, and the opener of web pages, get the compositor's XDG activation token;
// programs start without one, at once, when the compositor does not answer. Headless weston 10
// offers no xdg_activation_v1: the compositor here is the tests' own, which offers nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "PortalDesktop.h"

namespace brisko::testing {
namespace {

using namespace std::chrono_literals;

TEST(ActivationTokens, StartedProgramsGetTheTokenOrStartWithoutOneWhenNoneComes) {
    PortalDesktop desktop;
    X11Session& session = desktop.session();
    const std::string dir = session.dir();
    const std::string seen = dir + "/seen.log";
    const std::string probe = dir + "/bin/probe";
    std::ofstream(probe) << "#!/bin/sh\nprintf '%s|%s\\n' \"$XDG_ACTIVATION_TOKEN\" "
                            "\"$DESKTOP_STARTUP_ID\" >> '"
                         << seen << "'\n";
    std::filesystem::permissions(probe, std::filesystem::perms::owner_all);
    // The opener of web pages reports the same way.
    std::filesystem::copy_file(probe, dir + "/bin/xdg-open",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::create_directories(dir + "/apps");
    const std::string entry = dir + "/apps/org.example.Probe.desktop";
    std::ofstream(entry) << "[Desktop Entry]\nType=Application\nName=Probe\nExec=" << probe << "\n";
    const auto lines = [&](std::size_t count) {
        return X11Session::waitUntil([&] {
            const std::string text = X11Session::readFile(seen);
            return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) >= count;
        });
    };
    // The program draws on the session's X display; its keys come from the portal and its
    // tokens from the compositor of WAYLAND_DISPLAY.
    const auto startDriver = [&](const std::string& socket) {
        const unsigned sessions = std::stoul(desktop.mock("SessionCount"));
        const pid_t driver =
            session.spawn({BRISKO_X11_DRIVER, "F5=2", "F5.path=" + probe, "F6=2",
                           "F6.path=" + entry, "F7=18", "F7.url=https://example.org/"},
                          {{"BRISKO_BACKEND", "wayland"},
                           {"WAYLAND_DISPLAY", socket},
                           {"QT_QPA_PLATFORM", "xcb"}},
                          dir + "/driver-" + socket + ".out");
        EXPECT_TRUE(X11Session::waitUntil([&] {
            return std::stoul(desktop.mock("SessionCount")) > sessions &&
                   desktop.mock("LastBound").find("F7=") != std::string::npos;
        }));
        return driver;
    };
    const auto compositor = [&](const std::string& socket, bool silent) {
        const std::string log = dir + "/" + socket + ".log";
        std::vector<std::string> argv = {BRISKO_ACTIVATION_COMPOSITOR, socket, log};
        if (silent)
            argv.push_back("--silent");
        session.spawn(argv);
        EXPECT_TRUE(
            X11Session::waitUntil([&] { return X11Session::readFile(log) == "ready\n"; }, 20s));
        return log;
    };

    const std::string issued = compositor("tokens", false);
    const pid_t driver = startDriver("tokens");
    desktop.mock("Activate", {"string:F5"});
    ASSERT_TRUE(lines(1));
    desktop.mock("Activate", {"string:F6"});
    ASSERT_TRUE(lines(2));
    desktop.mock("Activate", {"string:F7"});
    ASSERT_TRUE(lines(3));
    const std::string tokens =
        "brisko-token-1|brisko-token-1\nbrisko-token-2|brisko-token-2\n"
        "brisko-token-3|brisko-token-3\n";
    EXPECT_EQ(X11Session::readFile(seen), tokens);
    EXPECT_EQ(X11Session::readFile(issued),
              "ready\ntoken 1 app_id=\ntoken 2 app_id=org.example.Probe\ntoken 3 app_id=\n");
    session.stop(driver);

    compositor("silent", true);
    startDriver("silent");
    desktop.mock("Activate", {"string:F5"});
    ASSERT_TRUE(lines(4));
    EXPECT_EQ(X11Session::readFile(seen), tokens + "|\n");
}

}  // namespace
}  // namespace brisko::testing
