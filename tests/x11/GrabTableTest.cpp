// The key grabs on a real X server, seen from a second client: what Brisko holds, what it
// leaves to others, and that a registration tick with every key held sends the server nothing.
#include <gtest/gtest.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "X11Session.h"
#include "hotkeys/HotkeyRegistration.h"
#include "hotkeys/HotkeySlot.h"
#include "platform/linux/LinuxSystemControl.h"
#include "platform/x11/Keymap.h"
#include "platform/x11/X11Backend.h"

namespace {

using brisko::testing::X11Session;

X11Session* gSession = nullptr;

constexpr xcb_keysym_t kF1 = 0xffbe;
constexpr brisko::WindowHandle kWindow = 1;

xcb_keysym_t F(int n) {
    return kF1 + static_cast<xcb_keysym_t>(n - 1);
}

xcb_connection_t* QtConnection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

/// A round trip on Brisko's connection: the server has handled all its requests afterwards.
void SyncWithBrisko() {
    xcb_connection_t* c = QtConnection();
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

/// Another client on the same display.
class Client {
public:
    Client() : c_(xcb_connect(gSession->display().c_str(), nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        symbols_ = xcb_key_symbols_alloc(c_);
    }
    ~Client() {
        xcb_key_symbols_free(symbols_);
        xcb_disconnect(c_);
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    /// Whether this client could take the key with these modifiers, once the server has
    /// handled everything that Brisko sent before.
    bool grab(xcb_keysym_t keysym, std::uint16_t modifiers) {
        SyncWithBrisko();
        xcb_generic_error_t* error =
            xcb_request_check(c_, xcb_grab_key_checked(c_, 1, root_, modifiers, keycode(keysym),
                                                       XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }
    void ungrab(xcb_keysym_t keysym, std::uint16_t modifiers) {
        xcb_ungrab_key(c_, keycode(keysym), root_, modifiers);
        std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
    }
    /// Moves NumLock from its modifier to the first free place of another; false when the
    /// server keeps no free place there or refuses.
    bool moveNumLock(int to) {
        xcb_get_modifier_mapping_reply_t* map =
            xcb_get_modifier_mapping_reply(c_, xcb_get_modifier_mapping(c_), nullptr);
        if (!map)
            return false;
        const int per = map->keycodes_per_modifier;
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(map);
        std::vector<xcb_keycode_t> table(codes, codes + 8 * per);
        std::free(map);
        const xcb_keycode_t numLock = keycode(0xff7f);
        bool removed = false;
        for (auto& code : table) {
            if (code == numLock && numLock != 0) {
                code = 0;
                removed = true;
            }
        }
        auto free = std::find(table.begin() + to * per, table.begin() + (to + 1) * per, 0);
        if (!removed || free == table.begin() + (to + 1) * per)
            return false;
        *free = numLock;
        xcb_set_modifier_mapping_reply_t* reply = xcb_set_modifier_mapping_reply(
            c_, xcb_set_modifier_mapping(c_, static_cast<std::uint8_t>(per), table.data()),
            nullptr);
        const bool ok = reply && reply->status == XCB_MAPPING_STATUS_SUCCESS;
        std::free(reply);
        return ok;
    }

    /// Grabs and lets go again: whether the key is free for anyone but its holder.
    bool canTake(xcb_keysym_t keysym, std::uint16_t modifiers) {
        if (!grab(keysym, modifiers))
            return false;
        ungrab(keysym, modifiers);
        return true;
    }

private:
    xcb_keycode_t keycode(xcb_keysym_t keysym) {
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols_, keysym);
        const xcb_keycode_t code = codes ? codes[0] : 0;
        std::free(codes);
        return code;
    }

    xcb_connection_t* c_;
    xcb_window_t root_ = 0;
    xcb_key_symbols_t* symbols_ = nullptr;
};

/// How many requests the action sent on Qt's connection.
unsigned RequestsDuring(const std::function<void()>& action) {
    xcb_connection_t* c = QtConnection();
    const unsigned before = xcb_no_operation(c).sequence;
    action();
    const unsigned after = xcb_no_operation(c).sequence;
    return after - before - 1;
}

class GrabTable : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(system.hotkeysAvailable()); }
    brisko::desktop::LinuxSystemControl system{std::make_unique<brisko::x11::X11Backend>(), ""};
    Client other;
};

TEST_F(GrabTable, HeldKeysCostTheServerNothingAndOnlyBareKeysAreTaken) {
    brisko::SlotModel model;
    for (int n = 1; n <= brisko::kSlotCount; ++n)
        model.setAction(n, 2);
    brisko::SyncHotkeyRegistration(system, kWindow, model);
    for (int n = 1; n <= brisko::kSlotCount; ++n) {
        EXPECT_FALSE(other.canTake(F(n), 0)) << "F" << n;
        EXPECT_FALSE(other.canTake(F(n), XCB_MOD_MASK_LOCK)) << "F" << n;
    }
    // With modifiers the keys stay everyone else's, and F12 is never Brisko's.
    EXPECT_TRUE(other.canTake(F(5), XCB_MOD_MASK_SHIFT));
    EXPECT_TRUE(other.canTake(F(5), XCB_MOD_MASK_CONTROL));
    EXPECT_FALSE(system.RegisterHotKey(kWindow, 266, 0, 123));
    EXPECT_TRUE(other.canTake(F(12), 0));

    // The next ticks find every key in the table: no request at all.
    EXPECT_EQ(RequestsDuring([&] { brisko::SyncHotkeyRegistration(system, kWindow, model); }), 0u);
    EXPECT_EQ(RequestsDuring([&] { brisko::SyncHotkeyRegistration(system, kWindow, model); }), 0u);

    // Freed model give their keys back at once; then idle ticks are silent again.
    model.deleteAll();
    brisko::SyncHotkeyRegistration(system, kWindow, model);
    EXPECT_TRUE(other.canTake(F(1), 0));
    EXPECT_TRUE(other.canTake(F(11), XCB_MOD_MASK_LOCK));
    EXPECT_EQ(RequestsDuring([&] { brisko::SyncHotkeyRegistration(system, kWindow, model); }), 0u);
}

TEST_F(GrabTable, KeyHeldElsewhereLeavesNoHalfGrabAndIsTakenOnceFree) {
    Client witness;
    // The other client holds F6 with CapsLock only: every other variant would be free.
    ASSERT_TRUE(other.grab(F(6), XCB_MOD_MASK_LOCK));
    EXPECT_FALSE(system.RegisterHotKey(kWindow, 260, 0, 117));
    QCoreApplication::processEvents();
    EXPECT_TRUE(witness.canTake(F(6), 0)) << "a half-grab was left behind";
    EXPECT_FALSE(witness.canTake(F(6), XCB_MOD_MASK_LOCK)) << "the other client lost its grab";
    EXPECT_FALSE(system.UnregisterHotKey(kWindow, 260));

    // Retried together with a second blocked key, neither leaves anything behind, and the
    // tick waits for the server once for both: each key's grabs and releases plus one sync.
    ASSERT_TRUE(other.grab(F(7), 0));
    EXPECT_FALSE(system.RegisterHotKey(kWindow, 260, 0, 117));
    EXPECT_FALSE(system.RegisterHotKey(kWindow, 261, 0, 118));
    const auto variants =
        static_cast<unsigned>(brisko::x11::Keymap(QtConnection()).lockVariants().size());
    EXPECT_EQ(RequestsDuring([&] {
                  EXPECT_FALSE(system.RegisterHotKey(kWindow, 260, 0, 117));
                  EXPECT_FALSE(system.RegisterHotKey(kWindow, 261, 0, 118));
                  QCoreApplication::processEvents();
              }),
              2 * 2 * variants + 1);
    EXPECT_TRUE(witness.canTake(F(6), 0));
    EXPECT_TRUE(witness.canTake(F(7), XCB_MOD_MASK_LOCK));

    // Once the other client lets go, the next attempt takes the key.
    other.ungrab(F(6), XCB_MOD_MASK_LOCK);
    system.RegisterHotKey(kWindow, 260, 0, 117);
    QCoreApplication::processEvents();
    EXPECT_FALSE(witness.canTake(F(6), 0));
    EXPECT_FALSE(witness.canTake(F(6), XCB_MOD_MASK_LOCK));
    EXPECT_FALSE(system.RegisterHotKey(kWindow, 260, 0, 117));  // held: fails, as on Windows
    EXPECT_TRUE(system.UnregisterHotKey(kWindow, 260));
    EXPECT_TRUE(witness.canTake(F(6), 0));
}

TEST_F(GrabTable, NumLockIsFollowedToAnotherModifier) {
    ASSERT_TRUE(system.RegisterHotKey(kWindow, 259, 0, 116));
    ASSERT_FALSE(other.canTake(F(5), XCB_MOD_MASK_2));
    // NumLock on Mod3, as some keyboard set-ups have it.
    if (!other.moveNumLock(5))
        GTEST_SKIP() << "NumLock could not be moved to Mod3";
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 600)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(other.canTake(F(5), XCB_MOD_MASK_3));
    EXPECT_FALSE(other.canTake(F(5), XCB_MOD_MASK_3 | XCB_MOD_MASK_LOCK));
    EXPECT_FALSE(other.canTake(F(5), 0));
    // The old NumLock modifier is now just another modifier: left to everyone else.
    EXPECT_TRUE(other.canTake(F(5), XCB_MOD_MASK_2));
    // A key taken afterwards gets the new variants straight away.
    ASSERT_TRUE(system.RegisterHotKey(kWindow, 256, 0, 113));
    EXPECT_FALSE(other.canTake(F(2), XCB_MOD_MASK_3));
    EXPECT_TRUE(other.canTake(F(2), XCB_MOD_MASK_2));
}

TEST_F(GrabTable, ReleasingAllGivesEveryKeyBack) {
    brisko::SlotModel model;
    for (int n = 1; n <= brisko::kSlotCount; ++n)
        model.setAction(n, n == 4 ? -1 : 17);  // no entry selected still holds its key
    brisko::SyncHotkeyRegistration(system, kWindow, model);
    EXPECT_FALSE(other.canTake(F(4), 0));
    system.releaseAllGrabs();
    for (int n = 1; n <= brisko::kSlotCount; ++n) {
        EXPECT_TRUE(other.canTake(F(n), 0)) << "F" << n;
        EXPECT_TRUE(other.canTake(F(n), XCB_MOD_MASK_LOCK)) << "F" << n;
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            return RUN_ALL_TESTS();
    // One private display per process; CTest runs every test in a process of its own.
    X11Session::Options options;
    options.windowManager = false;
    options.systemBus = false;
    options.recordedCommands = {};
    X11Session session(options);
    for (const auto& [name, value] : session.environment())
        ::setenv(name.c_str(), value.c_str(), 1);
    QGuiApplication app(argc, argv);
    gSession = &session;
    return RUN_ALL_TESTS();
}
