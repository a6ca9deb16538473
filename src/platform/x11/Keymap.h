#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdint>
#include <vector>

namespace brisko::x11 {

/// The keyboard mapping of one X connection: keysym → keycode and the masks of the lock
/// modifiers. Refreshed by its owner when the server reports a new mapping.
class Keymap {
public:
    explicit Keymap(xcb_connection_t* connection);
    ~Keymap();
    Keymap(const Keymap&) = delete;
    Keymap& operator=(const Keymap&) = delete;

    /// Re-reads the mapping and the modifier map from the server.
    void refresh();

    /// The first keycode that produces the keysym; 0 when none does.
    xcb_keycode_t keycode(xcb_keysym_t keysym) const;
    /// Every keycode that produces the keysym (a keyboard may have the key twice), in the
    /// server's order; empty when none does.
    std::vector<xcb_keycode_t> keycodes(xcb_keysym_t keysym) const;

    /// CapsLock, NumLock and ScrollLock together; NumLock and ScrollLock are looked up in the
    /// modifier map, since their modifier bit differs between servers.
    std::uint16_t lockMask() const { return lockMask_; }

    /// Every combination of the lock modifiers (0 first), without duplicates.
    std::vector<std::uint16_t> lockVariants() const;

private:
    std::uint16_t modifierFor(xcb_keysym_t keysym) const;

    xcb_connection_t* connection_;
    xcb_key_symbols_t* symbols_ = nullptr;
    std::uint16_t numLock_ = 0;
    std::uint16_t scrollLock_ = 0;
    std::uint16_t lockMask_ = XCB_MOD_MASK_LOCK;
};

/// Lock variants of the given separate masks: all their subsets, 0 first, duplicates removed.
std::vector<std::uint16_t> LockVariants(std::uint16_t capsLock, std::uint16_t numLock,
                                        std::uint16_t scrollLock);

}  // namespace brisko::x11
