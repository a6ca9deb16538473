#pragma once

#include <xcb/xcb.h>
#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <vector>

#include "Keymap.h"

namespace brisko::x11 {

/// System-wide hotkeys as passive grabs of bare keys on the root window.
///
/// Each key is grabbed once per combination of the lock modifiers, so that it works with
/// CapsLock or NumLock on; never with Shift, Ctrl, Alt or Super. The grabber keeps its own
/// table of the keys it holds: grabbing a held id fails at once without talking to the
/// server, so a reconciliation tick with every key held costs nothing. A key that another
/// client holds is retried on request; all retries of one event-loop turn share one round trip.
class KeyGrabber : public QObject, public QAbstractNativeEventFilter {
public:
    KeyGrabber(xcb_connection_t* connection, xcb_window_t root, Keymap& keymap);
    ~KeyGrabber() override;

    /// Grabs the key for the id. False when the id is already held (no server traffic), when
    /// no key produces the keysym, or when another client holds the key.
    bool grab(int id, xcb_keysym_t keysym);
    /// Releases the id's key. False when the id was not held.
    bool ungrab(int id);
    /// Releases every key.
    void releaseAll();
    /// Whether the id's key is taken (confirmed or awaiting the server's answer).
    bool holds(int id) const;
    /// Whether the id's key was asked for but another client holds it.
    bool blocked(int id) const;

    /// Called with the id for every press of a held key (auto-repeat included), from the event
    /// loop, never from inside the native event filter.
    void setPressHandler(std::function<void(int id)> handler) { onPress_ = std::move(handler); }

    /// The X server's time of the last press of a held key (0 before the first): the user's
    /// action that a started program's window may take the focus for.
    xcb_timestamp_t lastPressTime() const { return lastPressTime_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    enum class State { Pending, Held, Blocked };
    struct Entry {
        xcb_keysym_t keysym = 0;
        std::vector<xcb_keycode_t> keycodes;   // every key that produces the keysym
        std::vector<std::uint16_t> modifiers;  // the variants sent, for each key
        std::vector<xcb_void_cookie_t> cookies;
        State state = State::Pending;
    };

    void sendGrabs(Entry& entry);
    void sendUngrabs(const Entry& entry);
    void discardCookies(Entry& entry);
    void resolvePending();
    void scheduleResolve();
    void regrabAll();
    int idForKey(xcb_keycode_t keycode) const;

    xcb_connection_t* connection_;
    xcb_window_t root_;
    Keymap& keymap_;
    std::map<int, Entry> entries_;
    std::function<void(int)> onPress_;
    bool resolveScheduled_ = false;
    QTimer mappingDebounce_;
    std::uint8_t xkbFirstEvent_ = 0;
    xcb_timestamp_t lastPressTime_ = 0;
};

}  // namespace brisko::x11
