#include "Keymap.h"

#include <algorithm>
#include <cstdlib>

namespace brisko::x11 {

namespace {
constexpr xcb_keysym_t kNumLock = 0xff7f;
constexpr xcb_keysym_t kScrollLock = 0xff14;
}  // namespace

Keymap::Keymap(xcb_connection_t* connection) : connection_(connection) {
    refresh();
}

Keymap::~Keymap() {
    if (symbols_)
        xcb_key_symbols_free(symbols_);
}

void Keymap::refresh() {
    if (symbols_)
        xcb_key_symbols_free(symbols_);
    symbols_ = xcb_key_symbols_alloc(connection_);
    numLock_ = modifierFor(kNumLock);
    scrollLock_ = modifierFor(kScrollLock);
    lockMask_ = static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | numLock_ | scrollLock_);
}

xcb_keycode_t Keymap::keycode(xcb_keysym_t keysym) const {
    const std::vector<xcb_keycode_t> all = keycodes(keysym);
    return all.empty() ? 0 : all.front();
}

std::vector<xcb_keycode_t> Keymap::keycodes(xcb_keysym_t keysym) const {
    std::vector<xcb_keycode_t> out;
    if (!symbols_)
        return out;
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols_, keysym);
    if (!codes)
        return out;
    for (const xcb_keycode_t* code = codes; *code != XCB_NO_SYMBOL; ++code)
        if (std::find(out.begin(), out.end(), *code) == out.end())
            out.push_back(*code);
    std::free(codes);
    return out;
}

std::uint16_t Keymap::modifierFor(xcb_keysym_t keysym) const {
    const xcb_keycode_t code = keycode(keysym);
    if (code == 0)
        return 0;
    auto cookie = xcb_get_modifier_mapping(connection_);
    xcb_get_modifier_mapping_reply_t* reply =
        xcb_get_modifier_mapping_reply(connection_, cookie, nullptr);
    if (!reply)
        return 0;
    std::uint16_t mask = 0;
    const xcb_keycode_t* map = xcb_get_modifier_mapping_keycodes(reply);
    const int perModifier = reply->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8 && mask == 0; ++modifier) {
        for (int k = 0; k < perModifier; ++k) {
            if (map[modifier * perModifier + k] == code) {
                mask = static_cast<std::uint16_t>(1u << modifier);
                break;
            }
        }
    }
    std::free(reply);
    return mask;
}

std::vector<std::uint16_t> Keymap::lockVariants() const {
    return LockVariants(XCB_MOD_MASK_LOCK, numLock_, scrollLock_);
}

std::vector<std::uint16_t> LockVariants(std::uint16_t capsLock, std::uint16_t numLock,
                                        std::uint16_t scrollLock) {
    std::vector<std::uint16_t> out;
    const std::uint16_t masks[3] = {capsLock, numLock, scrollLock};
    for (unsigned subset = 0; subset < 8; ++subset) {
        std::uint16_t combined = 0;
        for (unsigned bit = 0; bit < 3; ++bit)
            if (subset & (1u << bit))
                combined = static_cast<std::uint16_t>(combined | masks[bit]);
        if (std::find(out.begin(), out.end(), combined) == out.end())
            out.push_back(combined);
    }
    return out;
}

}  // namespace brisko::x11
