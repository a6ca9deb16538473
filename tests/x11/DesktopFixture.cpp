#include "DesktopFixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace brisko::testing {

namespace fs = std::filesystem;

void DesktopFixture::SetUp() {
    session = std::make_unique<X11Session>(options());
}

pid_t DesktopFixture::startDriver(const std::vector<std::string>& slots, const std::string& logName,
                                  const std::map<std::string, std::string>& overrides,
                                  const std::string& program) {
    std::vector<std::string> argv = {program.empty() ? BRISKO_X11_DRIVER : program, "--log",
                                     path(logName)};
    argv.insert(argv.end(), slots.begin(), slots.end());
    const pid_t pid = session->spawn(argv, overrides, path(logName + ".out"));
    EXPECT_TRUE(waitForReport("ready", logName)) << X11Session::readFile(path(logName + ".out"));
    return pid;
}

std::vector<std::string> DesktopFixture::reports(const std::string& logName) const {
    std::vector<std::string> lines;
    std::istringstream in(X11Session::readFile(path(logName)));
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

bool DesktopFixture::waitForReport(const std::string& line, const std::string& logName,
                                   std::size_t count) {
    return X11Session::waitUntil([&] {
        const auto lines = reports(logName);
        return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line)) >= count;
    });
}

std::string DesktopFixture::findWindow(const std::string& title) {
    std::istringstream ids(session->xdotool({"search", "--name", "^" + title + "$"}));
    std::string id;
    std::getline(ids, id);
    return id;
}

void DesktopFixture::focus(const std::string& window) {
    // A window found by its title may not be mapped or managed yet on a busy machine, and an
    // activation asked for too early is lost: ask again until the window manager calls it
    // active and the server's keyboard focus is really in it.
    const std::string line = window + "\n";
    const auto active = [&] {
        return session->xdotool({"getactivewindow"}) == line &&
               session->xdotool({"getwindowfocus"}) == line;
    };
    X11Session::waitUntil([&] {
        if (active())
            return true;
        session->xdotool({"windowactivate", window});
        return X11Session::waitUntil(active, std::chrono::milliseconds(500));
    });
}

std::string DesktopFixture::startTextWindow(const std::string& title, const std::string& out,
                                            const std::vector<std::string>& extra) {
    std::vector<std::string> argv = {BRISKO_X11_TEXT_WINDOW, "--title", title, "--out", out};
    argv.insert(argv.end(), extra.begin(), extra.end());
    session->spawn(argv);
    std::string window;
    EXPECT_TRUE(X11Session::waitUntil([&] { return !(window = findWindow(title)).empty(); }))
        << "no window " << title;
    if (!window.empty())
        focus(window);
    return window;
}

std::string DesktopFixture::writeScript(const std::string& relativePath, const std::string& body) {
    const std::string file = path(relativePath);
    fs::create_directories(fs::path(file).parent_path());
    std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(file, fs::perms::owner_all);
    return file;
}

}  // namespace brisko::testing
