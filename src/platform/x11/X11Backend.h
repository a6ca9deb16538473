#pragma once

#include <xcb/xcb.h>

#include <functional>
#include <memory>

#include "platform/linux/SessionBackend.h"

namespace brisko::x11 {

class KeyGrabber;
class Keymap;
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
    void sendKey(std::uint8_t virtualKey, bool keyUp) override;
    void applyShowCommand(pid_t pid, int showCommand) override;
    bool toggleShowingDesktop() override;
    void flush() override;

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    std::function<void(int)> onPress_;
    std::unique_ptr<Keymap> keymap_;
    std::unique_ptr<KeyGrabber> grabber_;
    std::unique_ptr<SyntheticKeys> keys_;
    std::unique_ptr<WindowStates> windows_;
};

}  // namespace brisko::x11
