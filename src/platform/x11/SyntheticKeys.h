#pragma once

#include <xcb/xcb.h>

#include <cstdint>

#include "Keymap.h"
#include "platform/linux/Keysyms.h"

namespace brisko::x11 {

using desktop::VirtualKeyToKeysym;

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
