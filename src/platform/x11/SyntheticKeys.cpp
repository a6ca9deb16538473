#include "SyntheticKeys.h"

#include <xcb/xtest.h>

namespace brisko::x11 {

SyntheticKeys::SyntheticKeys(xcb_connection_t* connection, const Keymap& keymap)
    : connection_(connection), keymap_(keymap) {}

void SyntheticKeys::send(std::uint8_t virtualKey, bool keyUp) {
    const std::uint32_t keysym = VirtualKeyToKeysym(virtualKey);
    const xcb_keycode_t keycode = keysym ? keymap_.keycode(keysym) : 0;
    if (keycode == 0)
        return;
    // The pressed hotkey started an active keyboard grab for Brisko; while it lasts the
    // synthetic keys would come back to Brisko instead of the focused program.
    xcb_ungrab_keyboard(connection_, XCB_CURRENT_TIME);
    xcb_test_fake_input(connection_, keyUp ? XCB_KEY_RELEASE : XCB_KEY_PRESS, keycode,
                        XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection_);
}

}  // namespace brisko::x11
