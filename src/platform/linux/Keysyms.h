#pragma once

#include <cstdint>

namespace brisko::desktop {

/// The X keysym of a Windows virtual key (letters, digits, modifiers, function and editing
/// keys); 0 for keys without one. X servers and the portals' keyboards share these numbers.
std::uint32_t VirtualKeyToKeysym(std::uint8_t virtualKey);

}  // namespace brisko::desktop
