#include "Keysyms.h"

namespace brisko::desktop {

std::uint32_t VirtualKeyToKeysym(std::uint8_t vk) {
    if (vk >= 'A' && vk <= 'Z')
        return static_cast<std::uint32_t>(vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9')
        return vk;
    if (vk >= 0x70 && vk <= 0x87)
        return 0xffbe + (vk - 0x70u);  // F1 .. F24
    if (vk >= 0x60 && vk <= 0x69)
        return 0xffb0 + (vk - 0x60u);  // keypad digits
    switch (vk) {
        case 0x08:
            return 0xff08;  // Backspace
        case 0x09:
            return 0xff09;  // Tab
        case 0x0D:
            return 0xff0d;  // Return
        case 0x10:
            return 0xffe1;  // Shift
        case 0x11:
            return 0xffe3;  // Control
        case 0x12:
            return 0xffe9;  // Alt
        case 0x13:
            return 0xff13;  // Pause
        case 0x14:
            return 0xffe5;  // Caps Lock
        case 0x1B:
            return 0xff1b;  // Escape
        case 0x20:
            return 0x0020;  // space
        case 0x21:
            return 0xff55;  // Page Up
        case 0x22:
            return 0xff56;  // Page Down
        case 0x23:
            return 0xff57;  // End
        case 0x24:
            return 0xff50;  // Home
        case 0x25:
            return 0xff51;  // Left
        case 0x26:
            return 0xff52;  // Up
        case 0x27:
            return 0xff53;  // Right
        case 0x28:
            return 0xff54;  // Down
        case 0x2C:
            return 0xff61;  // Print
        case 0x2D:
            return 0xff63;  // Insert
        case 0x2E:
            return 0xffff;  // Delete
        case 0x5B:
            return 0xffeb;  // left Windows key: Super
        case 0x5C:
            return 0xffec;  // right Windows key
        case 0x5D:
            return 0xff67;  // Menu
        case 0x90:
            return 0xff7f;  // Num Lock
        case 0x91:
            return 0xff14;  // Scroll Lock
        case 0xA0:
            return 0xffe1;  // left Shift
        case 0xA1:
            return 0xffe2;  // right Shift
        case 0xA2:
            return 0xffe3;  // left Control
        case 0xA3:
            return 0xffe4;  // right Control
        case 0xA4:
            return 0xffe9;  // left Alt
        case 0xA5:
            return 0xfe03;  // right Alt: AltGr
        default:
            return 0;
    }
}

}  // namespace brisko::desktop
