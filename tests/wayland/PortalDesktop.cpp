#include "PortalDesktop.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace brisko::testing {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {
constexpr const char* kBackendName = "org.freedesktop.impl.portal.desktop.briskotest";

X11Session::Options SessionOptions() {
    X11Session::Options options;
    options.windowManager = false;
    options.systemBus = false;
    options.currentDesktop = "briskotest";
    options.recordedCommands = {"xdg-open", "started"};
    return options;
}
}  // namespace

PortalDesktop::PortalDesktop(bool globalShortcuts, Frontend frontend)
    : session_(std::make_unique<X11Session>(SessionOptions())), kind_(frontend) {
    portalsDir_ = session_->dir() + "/portals";
    fs::create_directories(portalsDir_);
    std::ofstream(portalsDir_ + "/briskotest.portal")
        << "[portal]\nDBusName=" << kBackendName << "\nInterfaces="
        << (globalShortcuts ? "org.freedesktop.impl.portal.GlobalShortcuts;" : "")
        << "org.freedesktop.impl.portal.RemoteDesktop;\nUseIn=briskotest\n";
    // Should anything activate the frontend from the system's service file, it finds the
    // test backend too.
    session_->run({"dbus-send", "--bus=" + busAddress(), "--print-reply",
                   "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                   "org.freedesktop.DBus.UpdateActivationEnvironment",
                   "dict:string:string:XDG_DESKTOP_PORTAL_DIR," + portalsDir_ +
                       ",XDG_CURRENT_DESKTOP,briskotest"});
    session_->spawn({"/usr/bin/python3", "-m", "dbusmock", "--template", BRISKO_PORTAL_MOCK});
    if (!X11Session::waitUntil([&] { return nameOwned(kBackendName); }, 20s))
        throw std::runtime_error("the portal backend mock did not start");
    startFrontend();
}

PortalDesktop::~PortalDesktop() = default;

std::string PortalDesktop::busAddress() const {
    return session_->environment().at("DBUS_SESSION_BUS_ADDRESS");
}

bool PortalDesktop::nameOwned(const std::string& name) {
    const std::string reply = session_->run(
        {"dbus-send", "--bus=" + busAddress(), "--print-reply", "--dest=org.freedesktop.DBus",
         "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:" + name});
    return reply.find("boolean true") != std::string::npos;
}

void PortalDesktop::startFrontend() {
    const std::vector<std::string> argv =
        kind_ == Frontend::Installed
            ? std::vector<std::string>{"/usr/libexec/xdg-desktop-portal", "-r"}
            : std::vector<std::string>{"/usr/bin/python3", BRISKO_RESTORING_FRONTEND};
    frontend_ = session_->spawn(argv, {{"XDG_DESKTOP_PORTAL_DIR", portalsDir_}},
                                session_->dir() + "/portal.log");
    if (!X11Session::waitUntil([&] { return nameOwned("org.freedesktop.portal.Desktop"); }, 20s))
        throw std::runtime_error("the portal frontend did not start");
}

void PortalDesktop::restartFrontend() {
    session_->stop(frontend_);
    X11Session::waitUntil([&] { return !nameOwned("org.freedesktop.portal.Desktop"); });
    startFrontend();
}

std::string PortalDesktop::startWeston(bool xwayland) {
    const std::string socket = "brisko-wl";
    const std::string path = session_->environment().at("XDG_RUNTIME_DIR") + "/" + socket;
    const std::string log = session_->dir() + "/weston.log";
    std::vector<std::string> argv = {"weston", "--socket=" + socket, "--idle-time=0"};
    // The headless backend has no seat, and its XWayland bridge then crashes weston as soon as
    // an X client takes the clipboard. With XWayland, weston runs in a window on the session's
    // Xvfb instead, whose seat it takes.
    if (xwayland)
        argv.insert(argv.end(), {"--backend=x11-backend.so", "--use-pixman", "--xwayland"});
    else
        argv.push_back("--backend=headless-backend.so");
    session_->spawn(argv, {}, log);
    if (!X11Session::waitUntil([&] { return fs::exists(path); }, 20s))
        throw std::runtime_error("weston did not start");
    if (xwayland) {
        const std::string mark = "xserver listening on display ";
        X11Session::waitUntil(
            [&] { return X11Session::readFile(log).find(mark) != std::string::npos; }, 20s);
        const std::string text = X11Session::readFile(log);
        const auto at = text.find(mark);
        if (at == std::string::npos)
            throw std::runtime_error("weston started no XWayland");
        xwaylandDisplay_ = text.substr(at + mark.size(), text.find('\n', at) - at - mark.size());
    }
    return socket;
}

std::string PortalDesktop::mock(const std::string& method, const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"dbus-send",
                                     "--bus=" + busAddress(),
                                     "--print-reply=literal",
                                     std::string("--dest=") + kBackendName,
                                     "/org/freedesktop/portal/desktop",
                                     "org.brisko.PortalMock." + method};
    argv.insert(argv.end(), args.begin(), args.end());
    std::string reply = session_->run(argv);
    while (!reply.empty() && (reply.back() == '\n' || reply.back() == ' '))
        reply.pop_back();
    const auto start = reply.find_first_not_of(' ');
    reply = start == std::string::npos ? "" : reply.substr(start);
    if (reply.rfind("uint32 ", 0) == 0)
        reply = reply.substr(7);
    return reply;
}

}  // namespace brisko::testing
