#pragma once

#include <xcb/xcb.h>

#include <functional>
#include <map>
#include <memory>

#include "platform/linux/SessionBackend.h"

namespace brisko::x11 {

class KeyGrabber;
class Keymap;
class StartupNotifier;
class SyntheticKeys;
class WindowStates;

/// The session backend of an X11 desktop: key grabs and XTest on Qt's own xcb connection, EWMH
/// for window states. Without an xcb connection (another Qt platform) it takes no keys.
class X11Backend : public desktop::SessionBackend {
public:
    /// Uses Qt's xcb connection when there is one (a QGuiApplication on the xcb platform).
    X11Backend();
    ~X11Backend() override;

    bool hotkeysAvailable() const override;
    bool grabKey(int id, int functionKey) override;
    bool ungrabKey(int id) override;
    void releaseAllKeys() override;
    void setPressHandler(std::function<void(int id)> handler) override;
    KeyState keyState(int functionKey) const override;
    void sendKey(std::uint8_t virtualKey, bool keyUp) override;
    /// Announces the launch through startup notification; the id carries the key press's time.
    desktop::StartupId beginLaunch(const desktop::LaunchDescription& launch) override;
    void cancelLaunch(const desktop::StartupId& id) override;
    void applyShowCommand(pid_t pid, int showCommand) override;
    void applyShowCommandToApplication(const desktop::StartedApplication& started,
                                       int showCommand) override;
    bool toggleShowingDesktop() override;
    void flush() override;

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    std::function<void(int)> onPress_;
    std::map<int, int> idOfKey_;  // function key -> hotkey id, for the keys asked for
    std::unique_ptr<Keymap> keymap_;
    std::unique_ptr<KeyGrabber> grabber_;
    std::unique_ptr<SyntheticKeys> keys_;
    std::unique_ptr<StartupNotifier> notifier_;
    std::unique_ptr<WindowStates> windows_;
};

}  // namespace brisko::x11
