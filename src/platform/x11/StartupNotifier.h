#pragma once

#include <xcb/xcb.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/linux/SessionBackend.h"

namespace brisko::x11 {

/// The launcher's half of freedesktop.org's startup notification: a "new:" message broadcast
/// on the root window before a program starts, so that the desktop shows its launch feedback,
/// and a "remove:" once its window is there or the wait for it ended. Sending costs no round
/// trip: the atoms and the sender's window are asked for when the notifier is made.
class StartupNotifier {
public:
    /// screen is the number of the screen whose root window this is.
    StartupNotifier(xcb_connection_t* connection, xcb_window_t root, int screen);
    ~StartupNotifier();
    StartupNotifier(const StartupNotifier&) = delete;
    StartupNotifier& operator=(const StartupNotifier&) = delete;

    /// Broadcasts "new:" for a launch with the given id.
    void announce(const std::string& id, const desktop::LaunchDescription& launch);
    /// Broadcasts "remove:" for the id.
    void remove(const std::string& id);

private:
    void broadcast(const std::string& message);
    void resolveAtoms();

    xcb_connection_t* connection_;
    xcb_window_t root_;
    int screen_;
    xcb_window_t window_;
    xcb_intern_atom_cookie_t beginCookie_, moreCookie_;
    xcb_atom_t begin_ = XCB_ATOM_NONE;
    xcb_atom_t more_ = XCB_ATOM_NONE;
    bool resolved_ = false;
};

/// A message in the protocol's text form: the type, a colon, then " KEY=value" for each field
/// whose value is not empty. A value with a space, a double quote or a backslash is put in
/// double quotes, with the quote and the backslash escaped by a backslash.
std::string StartupMessage(const std::string& type,
                           const std::vector<std::pair<std::string, std::string>>& fields);

/// The message with its terminating NUL, cut into the 20-byte payloads of its client messages
/// (the last one padded with NULs).
std::vector<std::string> StartupMessageChunks(const std::string& message);

}  // namespace brisko::x11
