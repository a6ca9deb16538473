#include <gtest/gtest.h>

#include "FakeSystemControl.h"
#include "hotkeys/HotkeyRegistration.h"

using brisko::SlotModel;
using brisko::SyncHotkeyRegistration;
using brisko::testing::FakeSystemControl;

namespace {
constexpr brisko::WindowHandle kMain = 3;

int CountSucceeded(FakeSystemControl& fake, SlotModel& slots) {
    std::size_t before = fake.registered().size();
    SyncHotkeyRegistration(fake, kMain, slots);
    return static_cast<int>(fake.registered().size() - before);
}
}  // namespace

TEST(Registration, AllFreeUnregistersElevenKeysAndRegistersNone) {
    FakeSystemControl fake;
    SlotModel slots;
    for (int n = 1; n <= 11; ++n)
        slots.setAction(n, 0);
    SyncHotkeyRegistration(fake, kMain, slots);
    EXPECT_EQ(fake.calls().size(), 11u);
    EXPECT_EQ(fake.callsNamed("UnregisterHotKey").size(), 11u);
    EXPECT_EQ(fake.calls().front(), "UnregisterHotKey(3, 255)");
    EXPECT_EQ(fake.calls().back(), "UnregisterHotKey(3, 265)");
}

TEST(Registration, AllAssignedRegisterEveryTickButSucceedOnlyOnce) {
    FakeSystemControl fake;
    SlotModel slots;
    for (int n = 1; n <= 11; ++n)
        slots.setAction(n, n);
    EXPECT_EQ(CountSucceeded(fake, slots), 11);
    EXPECT_EQ(fake.calls().front(), "RegisterHotKey(3, 255, 0, 112)");
    EXPECT_EQ(fake.calls().back(), "RegisterHotKey(3, 265, 0, 122)");
    fake.clear();
    EXPECT_EQ(CountSucceeded(fake, slots), 0);
    EXPECT_EQ(fake.callsNamed("RegisterHotKey").size(), 11u);
    EXPECT_EQ(fake.calls().size(), 11u);
}

TEST(Registration, OneChangedSlotFollowsAtTheNextTick) {
    FakeSystemControl fake;
    SlotModel slots;
    for (int n = 1; n <= 11; ++n)
        slots.setAction(n, 0);
    SyncHotkeyRegistration(fake, kMain, slots);
    slots.setAction(5, 2);
    fake.clear();
    SyncHotkeyRegistration(fake, kMain, slots);
    EXPECT_EQ(fake.calls()[4], "RegisterHotKey(3, 259, 0, 116)");
    EXPECT_EQ(fake.calls().size(), 11u);
    EXPECT_EQ(fake.registered(), std::set<int>{259});
    // From one action to another the key stays held: no unregister in between.
    slots.setAction(5, 18);
    fake.clear();
    SyncHotkeyRegistration(fake, kMain, slots);
    EXPECT_EQ(fake.calls()[4], "RegisterHotKey(3, 259, 0, 116)");
    slots.setAction(5, 0);
    fake.clear();
    SyncHotkeyRegistration(fake, kMain, slots);
    EXPECT_EQ(fake.calls()[4], "UnregisterHotKey(3, 259)");
    EXPECT_TRUE(fake.registered().empty());
}

TEST(Registration, NothingSelectedKeepsTheKeyAndARefusedKeyIsRetried) {
    FakeSystemControl fake;
    SlotModel slots;  // every slot starts with nothing selected (-1)
    bool heldElsewhere = true;
    fake.registerResult = [&](int id) { return !(id == 257 && heldElsewhere); };
    SyncHotkeyRegistration(fake, kMain, slots);
    EXPECT_EQ(fake.callsNamed("RegisterHotKey").size(), 11u);
    EXPECT_EQ(fake.registered().count(257), 0u);
    heldElsewhere = false;
    SyncHotkeyRegistration(fake, kMain, slots);
    EXPECT_EQ(fake.registered().count(257), 1u);
}
