#include "KeyGrabber.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <algorithm>
#include <cstdlib>

// xcb/xkb.h does not compile as C++ (a member is named "explicit"); only its extension id is
// needed here.
extern "C" {
extern xcb_extension_t xcb_xkb_id;
}

namespace brisko::x11 {

namespace {
constexpr std::uint8_t kXkbNewKeyboardNotify = 0;
constexpr std::uint8_t kXkbMapNotify = 1;
// A new keyboard or keymap arrives as a burst of events; re-grab once it has settled.
constexpr int kMappingDebounceMs = 150;
constexpr std::uint16_t kModifierBits = 0xff;
}  // namespace

KeyGrabber::KeyGrabber(xcb_connection_t* connection, xcb_window_t root, Keymap& keymap)
    : connection_(connection), root_(root), keymap_(keymap) {
    mappingDebounce_.setSingleShot(true);
    mappingDebounce_.setInterval(kMappingDebounceMs);
    connect(&mappingDebounce_, &QTimer::timeout, this, [this] { regrabAll(); });
    if (const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(connection_, &xcb_xkb_id);
        xkb && xkb->present)
        xkbFirstEvent_ = xkb->first_event;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installNativeEventFilter(this);
}

KeyGrabber::~KeyGrabber() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    releaseAll();
}

bool KeyGrabber::holds(int id) const {
    auto it = entries_.find(id);
    return it != entries_.end() && it->second.state != State::Blocked;
}

bool KeyGrabber::blocked(int id) const {
    auto it = entries_.find(id);
    return it != entries_.end() && it->second.state == State::Blocked;
}

void KeyGrabber::sendGrabs(Entry& entry) {
    entry.modifiers = keymap_.lockVariants();
    entry.cookies.clear();
    for (xcb_keycode_t keycode : entry.keycodes) {
        for (std::uint16_t modifiers : entry.modifiers) {
            entry.cookies.push_back(xcb_grab_key_checked(connection_, 1, root_, modifiers, keycode,
                                                         XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        }
    }
    entry.state = State::Pending;
}

void KeyGrabber::sendUngrabs(const Entry& entry) {
    // Qt's connection closes with the application; the server then drops the grabs itself.
    if (!QCoreApplication::instance())
        return;
    // Ungrabbing only ever removes this client's own grabs, never another client's.
    for (xcb_keycode_t keycode : entry.keycodes)
        for (std::uint16_t modifiers : entry.modifiers)
            xcb_ungrab_key(connection_, keycode, root_, modifiers);
    xcb_flush(connection_);
}

void KeyGrabber::discardCookies(Entry& entry) {
    if (!QCoreApplication::instance()) {
        entry.cookies.clear();
        return;
    }
    for (const auto& cookie : entry.cookies)
        xcb_discard_reply(connection_, cookie.sequence);
    entry.cookies.clear();
}

bool KeyGrabber::grab(int id, xcb_keysym_t keysym) {
    auto it = entries_.find(id);
    const bool retry = it != entries_.end() && it->second.state == State::Blocked;
    if (it != entries_.end() && !retry)
        return false;  // already held: no traffic

    Entry entry;
    entry.keysym = keysym;
    entry.keycodes = keymap_.keycodes(keysym);
    if (entry.keycodes.empty()) {
        entry.state = State::Blocked;
        entries_[id] = entry;
        return false;
    }
    sendGrabs(entry);
    entries_[id] = std::move(entry);
    if (retry) {
        // A key that another client held at the last attempt: its answer is collected after
        // this turn of the event loop, together with every other retry. The grab is live on
        // the server as soon as it succeeds, so presses are delivered meanwhile.
        xcb_flush(connection_);
        scheduleResolve();
        return false;
    }
    resolvePending();
    return entries_[id].state == State::Held;
}

void KeyGrabber::scheduleResolve() {
    if (resolveScheduled_)
        return;
    resolveScheduled_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            resolveScheduled_ = false;
            resolvePending();
        },
        Qt::QueuedConnection);
}

void KeyGrabber::resolvePending() {
    // The newest request is checked first: that one wait answers every earlier request too,
    // so the whole batch costs a single round trip.
    std::vector<std::pair<int, Entry*>> pending;
    for (auto& [id, entry] : entries_)
        if (entry.state == State::Pending && !entry.cookies.empty())
            pending.emplace_back(id, &entry);
    std::sort(pending.begin(), pending.end(), [](const auto& a, const auto& b) {
        return a.second->cookies.back().sequence > b.second->cookies.back().sequence;
    });
    for (auto& [id, entry] : pending) {
        bool failed = false;
        for (auto cookie = entry->cookies.rbegin(); cookie != entry->cookies.rend(); ++cookie) {
            if (xcb_generic_error_t* error = xcb_request_check(connection_, *cookie)) {
                failed = true;
                std::free(error);
            }
        }
        entry->cookies.clear();
        if (failed) {
            sendUngrabs(*entry);  // leave no half-grab behind
            entry->state = State::Blocked;
        } else {
            entry->state = State::Held;
        }
    }
}

bool KeyGrabber::ungrab(int id) {
    auto it = entries_.find(id);
    if (it == entries_.end())
        return false;
    const bool held = it->second.state != State::Blocked;
    if (held) {
        discardCookies(it->second);
        sendUngrabs(it->second);
    }
    entries_.erase(it);
    return held;
}

void KeyGrabber::releaseAll() {
    for (auto& [id, entry] : entries_) {
        if (entry.state == State::Blocked)
            continue;
        discardCookies(entry);
        sendUngrabs(entry);
    }
    entries_.clear();
}

void KeyGrabber::regrabAll() {
    // New grabs go out before the old ones are released, so that no press slips through
    // while the keymap changes; a key whose keycode and lock masks stayed is left alone.
    keymap_.refresh();
    const std::vector<std::uint16_t> variants = keymap_.lockVariants();
    for (auto& [id, entry] : entries_) {
        if (entry.state == State::Blocked)
            continue;  // the next tick retries it anyway
        const std::vector<xcb_keycode_t> keycodes = keymap_.keycodes(entry.keysym);
        if (keycodes == entry.keycodes && variants == entry.modifiers)
            continue;
        const Entry old = entry;
        discardCookies(entry);
        if (keycodes.empty()) {
            sendUngrabs(old);
            entry.state = State::Blocked;
            entry.modifiers.clear();
            continue;
        }
        entry.keycodes = keycodes;
        sendGrabs(entry);
        for (xcb_keycode_t keycode : old.keycodes) {
            const bool keyStays =
                std::find(keycodes.begin(), keycodes.end(), keycode) != keycodes.end();
            for (std::uint16_t modifiers : old.modifiers) {
                const bool stillGrabbed = keyStays && std::find(variants.begin(), variants.end(),
                                                                modifiers) != variants.end();
                if (!stillGrabbed)
                    xcb_ungrab_key(connection_, keycode, root_, modifiers);
            }
        }
    }
    xcb_flush(connection_);
    resolvePending();
}

int KeyGrabber::idForKey(xcb_keycode_t keycode) const {
    for (const auto& [id, entry] : entries_)
        if (entry.state != State::Blocked && std::find(entry.keycodes.begin(), entry.keycodes.end(),
                                                       keycode) != entry.keycodes.end())
            return id;
    return 0;
}

bool KeyGrabber::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & ~0x80;
    if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) {
        // With owner_events the event may name Brisko's own window rather than the root, so
        // it is matched by key and modifiers only.
        auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
        const std::uint16_t modifiers = key->state & kModifierBits & ~keymap_.lockMask();
        if (modifiers != 0)
            return false;
        const int id = idForKey(key->detail);
        if (id == 0)
            return false;
        if (type == XCB_KEY_PRESS)
            lastPressTime_ = key->time;
        if (type == XCB_KEY_PRESS && onPress_) {
            QMetaObject::invokeMethod(
                this,
                [this, id] {
                    if (onPress_ && holds(id))
                        onPress_(id);
                },
                Qt::QueuedConnection);
        }
        return true;
    }
    if (type == XCB_MAPPING_NOTIFY) {
        auto* mapping = reinterpret_cast<xcb_mapping_notify_event_t*>(event);
        if (mapping->request != XCB_MAPPING_POINTER)
            mappingDebounce_.start();
    } else if (xkbFirstEvent_ != 0 && type == xkbFirstEvent_) {
        // Every XKB event shares one type; the subtype sits where the others keep their detail.
        const std::uint8_t xkbType = reinterpret_cast<const std::uint8_t*>(event)[1];
        if (xkbType == kXkbNewKeyboardNotify || xkbType == kXkbMapNotify)
            mappingDebounce_.start();
    }
    return false;
}

}  // namespace brisko::x11
