#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>

namespace brisko::desktop {

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

    /// One synthetic key-down or key-up of a Windows virtual key into the focused program.
    virtual void sendKey(std::uint8_t virtualKey, bool keyUp) = 0;

    /// Applies a show command (3 maximise; 2, 6, 7 minimise) to the first window of a started
    /// process, where the session lets a client do that.
    virtual void applyShowCommand(pid_t pid, int showCommand) = 0;
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
