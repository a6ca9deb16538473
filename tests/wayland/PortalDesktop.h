#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

#include "X11Session.h"

namespace brisko::testing {

/// A private desktop whose session bus carries the real xdg-desktop-portal frontend, pointed
/// at a test portals directory whose backend is the mock in portal_backend_mock.py. With
/// globalShortcuts false the backend offers no GlobalShortcuts, so the frontend exports none.
/// Built on X11Session: its directories, buses, recorders and clean-up.
class PortalDesktop {
public:
    /// The installed frontend (Debian 12: 1.16), or remote_desktop_frontend.py: the newer
    /// frontends' RemoteDesktop with restore tokens, and no other portal.
    enum class Frontend { Installed, RestoringRemoteDesktop };

    explicit PortalDesktop(bool globalShortcuts = true, Frontend frontend = Frontend::Installed);
    ~PortalDesktop();

    X11Session& session() { return *session_; }
    std::string busAddress() const;

    /// Stops the frontend and starts a new one, as a desktop's portal service restarting.
    void restartFrontend();
    /// Starts weston on its own socket in the session's runtime directory: headless, or with
    /// XWayland in a window on the session's display; returns the socket's name once it
    /// accepts clients.
    std::string startWeston(bool xwayland = false);
    /// The X display that weston's XWayland listens on (":N"), once started with it.
    const std::string& xwaylandDisplay() const { return xwaylandDisplay_; }

    /// Calls a method of the mock's control interface with dbus-send arguments ("string:F5");
    /// returns the printed reply's value, unquoted.
    std::string mock(const std::string& method, const std::vector<std::string>& args = {});
    unsigned bindCalls() { return static_cast<unsigned>(std::stoul(mock("BindCalls"))); }
    /// Whether a name has an owner on the session bus.
    bool nameOwned(const std::string& name);

private:
    void startFrontend();

    std::unique_ptr<X11Session> session_;
    std::string portalsDir_;
    Frontend kind_;
    pid_t frontend_ = -1;
    std::string xwaylandDisplay_;
};

}  // namespace brisko::testing
