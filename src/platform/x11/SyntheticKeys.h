#pragma once

#include <xcb/xcb.h>

#include <cstdint>

#include "Keymap.h"

namespace brisko::x11 {

/// The X keysym of a Windows virtual key (letters, digits, modifiers, function and editing
/// keys); 0 for keys without one.
std::uint32_t VirtualKeyToKeysym(std::uint8_t virtualKey);

/// Synthetic key presses through the XTest extension, on the program's own connection.
class SyntheticKeys {
public:
    SyntheticKeys(xcb_connection_t* connection, const Keymap& keymap);

    /// One key-down or key-up. Keys that the current keymap lacks are dropped.
    void send(std::uint8_t virtualKey, bool keyUp);

private:
    xcb_connection_t* connection_;
    const Keymap& keymap_;
};

}  // namespace brisko::x11
