#pragma once

#include <sys/types.h>
#include <xcb/xcb.h>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <map>
#include <string>
#include <vector>

#include "platform/linux/DesktopEntry.h"

namespace brisko::x11 {

class StartupNotifier;

/// Window states through the window manager's EWMH hints: the show command of a started
/// program, and the desktop's "show desktop" mode.
class WindowStates : public QObject {
public:
    /// The notifier, when given, is told when the window of an announced launch was found or
    /// the wait for it ended.
    WindowStates(xcb_connection_t* connection, xcb_window_t root,
                 StartupNotifier* notifier = nullptr);

    /// Once the process's first top-level window appears (found through _NET_WM_PID), it is
    /// maximised for show command 3 or iconified for 2, 6 and 7; other commands leave it as it
    /// opens. Gives up after a few seconds (launcher scripts, single-instance programs).
    void applyWhenMapped(pid_t pid, int showCommand);

    /// The same for a started application, whose first new top-level window is found by the
    /// startup id it was handed (_NET_STARTUP_ID), else by one of its window classes
    /// (WM_CLASS), else by its pid. Windows that existed before the call are never taken. A
    /// launch with a startup id is followed even without a state to apply, so that its
    /// announcement ends once its window is there.
    void applyWhenMapped(const desktop::StartedApplication& started, int showCommand);

    /// Toggles _NET_SHOWING_DESKTOP, as the minimise-all shell file does.
    void toggleShowingDesktop();

    /// The current _NET_SHOWING_DESKTOP value.
    bool showingDesktop();

private:
    struct Waiting {
        desktop::StartedApplication started;
        int showCommand;
        qint64 deadline;
        std::vector<xcb_window_t> before;       // top-level windows when it was started
        xcb_window_t window = XCB_WINDOW_NONE;  // found and asked once
        qint64 checkAt = 0;                     // when to see whether the state held
    };
    void apply(const Waiting& waiting);
    void endAnnouncement(const Waiting& waiting);
    bool hasState(xcb_window_t window, int effect);
    void poll();
    std::vector<xcb_window_t> clientList();
    xcb_window_t windowOf(const Waiting& waiting, const std::vector<xcb_window_t>& clients);
    void sendToRoot(xcb_window_t window, xcb_atom_t type, std::uint32_t d0, std::uint32_t d1 = 0,
                    std::uint32_t d2 = 0, std::uint32_t d3 = 0);
    xcb_atom_t atom(const char* name);

    xcb_connection_t* connection_;
    xcb_window_t root_;
    StartupNotifier* notifier_;
    std::vector<Waiting> waiting_;
    QTimer poll_;
    QElapsedTimer clock_;
    std::map<std::string, xcb_atom_t> atoms_;
};

/// How surely a new window belongs to a started application: 3 by its startup id, 2 by its
/// window class (WM_CLASS instance or class, any case), 1 by its pid, 0 not at all.
int WindowMatch(const desktop::StartedApplication& started, const std::string& startupId,
                const std::string& instance, const std::string& windowClass, std::uint32_t pid);

/// What a show command asks of the window: 1 maximise, -1 iconify, 0 nothing.
int ShowCommandEffect(int showCommand);

}  // namespace brisko::x11
