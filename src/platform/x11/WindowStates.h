#pragma once

#include <sys/types.h>
#include <xcb/xcb.h>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <map>
#include <string>
#include <vector>

namespace brisko::x11 {

/// Window states through the window manager's EWMH hints: the show command of a started
/// program, and the desktop's "show desktop" mode.
class WindowStates : public QObject {
public:
    WindowStates(xcb_connection_t* connection, xcb_window_t root);

    /// Once the process's first top-level window appears (found through _NET_WM_PID), it is
    /// maximised for show command 3 or iconified for 2, 6 and 7; other commands leave it as it
    /// opens. Gives up after a few seconds (launcher scripts, single-instance programs).
    void applyWhenMapped(pid_t pid, int showCommand);

    /// Toggles _NET_SHOWING_DESKTOP, as the minimise-all shell file does.
    void toggleShowingDesktop();

    /// The current _NET_SHOWING_DESKTOP value.
    bool showingDesktop();

private:
    struct Waiting {
        pid_t pid;
        int showCommand;
        qint64 deadline;
        xcb_window_t window = XCB_WINDOW_NONE;  // found and asked once
        qint64 checkAt = 0;                     // when to see whether the state held
    };
    void apply(const Waiting& waiting);
    bool hasState(xcb_window_t window, int effect);
    void poll();
    xcb_window_t windowOf(pid_t pid);
    void sendToRoot(xcb_window_t window, xcb_atom_t type, std::uint32_t d0, std::uint32_t d1 = 0,
                    std::uint32_t d2 = 0, std::uint32_t d3 = 0);
    xcb_atom_t atom(const char* name);

    xcb_connection_t* connection_;
    xcb_window_t root_;
    std::vector<Waiting> waiting_;
    QTimer poll_;
    QElapsedTimer clock_;
    std::map<std::string, xcb_atom_t> atoms_;
};

/// What a show command asks of the window: 1 maximise, -1 iconify, 0 nothing.
int ShowCommandEffect(int showCommand);

}  // namespace brisko::x11
