#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>

#include "hotkeys/KeyBindings.h"

#include "DesktopEntry.h"

namespace brisko::desktop {

/// What the desktop is told of a program about to start, for its launch feedback.
struct LaunchDescription {
    std::string name;           // as the user knows it
    std::string binary;         // the program's file name
    std::string icon;           // a theme icon name or a path; may be empty
    std::string windowClass;    // the entry's StartupWMClass; may be empty
    std::string applicationId;  // the desktop entry's path; empty for a plain program
};

/// What differs between kinds of desktop session: how the function keys are taken, how
/// synthetic keys reach the focused program and how windows are placed. Everything else a
/// Linux session shares lives in LinuxSystemControl, which owns one backend for the run.
class SessionBackend {
public:
    virtual ~SessionBackend() = default;

    /// Whether this session lets Brisko take keys at all.
    virtual bool hotkeysAvailable() const = 0;
    /// Takes the bare function key F1..F11 (functionKey 1..11) for the hotkey id. False when
    /// the id is already held, when the key cannot be taken, or while the answer is pending;
    /// the caller simply asks again later.
    virtual bool grabKey(int id, int functionKey) = 0;
    /// Releases the id's key. False when the id was not held.
    virtual bool ungrabKey(int id) = 0;
    /// Releases every key.
    virtual void releaseAllKeys() = 0;
    /// Called with the hotkey id for every press of a held key, from the event loop.
    virtual void setPressHandler(std::function<void(int id)> handler) = 0;
    /// What the session made of the function key (1..11).
    virtual KeyState keyState(int functionKey) const = 0;
    /// The name of the key's action, where the session shows one to the user.
    virtual void describeKey(int /*functionKey*/, const std::string& /*description*/) {}

    /// One synthetic key-down or key-up of a Windows virtual key into the focused program.
    virtual void sendKey(std::uint8_t virtualKey, bool keyUp) = 0;
    /// Types the text into the focused program where pasting it from the clipboard cannot work;
    /// false when the clipboard and Ctrl+V are the way.
    virtual bool typeText(const std::string& /*text*/) { return false; }

    /// Tells the desktop that a program is about to start and returns the id to hand it (see
    /// StartupEnvironment). Every launch begun here is ended by applyShowCommandToApplication
    /// when the program started, or by cancelLaunch when it did not.
    virtual StartupId beginLaunch(const LaunchDescription& /*launch*/) { return {NewStartupId()}; }
    /// Withdraws a launch whose program did not start.
    virtual void cancelLaunch(const StartupId& /*id*/) {}
    /// A token that hands the focus on without announcing a start (to the desktop's opener,
    /// which may pass a page to a program that runs already); none where the session has none.
    virtual StartupId activationToken() { return {}; }

    /// Applies a show command (3 maximise; 2, 6, 7 minimise) to the first window of a started
    /// process, where the session lets a client do that.
    virtual void applyShowCommand(pid_t pid, int showCommand) = 0;
    /// The same for a started application, whose first window may belong to another process:
    /// found by its startup id or window class where the session can tell, else by its pid.
    virtual void applyShowCommandToApplication(const StartedApplication& started, int showCommand) {
        applyShowCommand(started.pid, showCommand);
    }
    /// Toggles the desktop's "show desktop" mode. False when the session offers no way.
    virtual bool toggleShowingDesktop() = 0;

    /// Sends whatever is queued for the display server (before the process may end).
    virtual void flush() = 0;
};

/// The kinds of session backend.
enum class BackendKind { X11, Wayland };

/// The backend for this session: BRISKO_BACKEND ("x11" or "wayland") when set to one of
/// them; otherwise a Wayland session (WAYLAND_DISPLAY set, or XDG_SESSION_TYPE "wayland")
/// uses the portals even when Qt itself runs through XWayland. Null arguments count as unset.
BackendKind ChooseBackend(const char* forced, const char* waylandDisplay, const char* sessionType);

}  // namespace brisko::desktop
