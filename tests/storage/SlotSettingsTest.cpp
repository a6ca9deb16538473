#include <gtest/gtest.h>

#include "FakeSettingsStore.h"
#include "hotkeys/BriskoError.h"
#include "storage/InstallationDirectory.h"
#include "storage/SlotSettings.h"

using namespace brisko;
using brisko::testing::FakeSettingsStore;

namespace {

// The three start-up steps, as the program's timers run them.
StoredSlotSettings Restart(FakeSettingsStore& store, SlotModel& slots) {
    StoredSlotSettings stored = ReadSlotSettings(store, slots);
    ApplyStoredInsertTexts(stored, slots);
    ApplySlotSettings(store, stored, slots, true);
    return stored;
}

}  // namespace

TEST(SlotSettings, EmptyStoreGivesElevenFreeSlotsAndNoError) {
    FakeSettingsStore store;
    SlotModel slots;
    StoredSlotSettings stored = Restart(store, slots);
    for (int n = 1; n <= kSlotCount; ++n) {
        EXPECT_EQ(slots.action(n), 0);
        EXPECT_EQ(stored.row(n).action, "0");
    }
    EXPECT_TRUE(stored.readError.empty());
    EXPECT_EQ(store.size(), 0u);
}

TEST(SlotSettings, SaveWritesOnlyTheValuesOfEachAction) {
    FakeSettingsStore store;
    SlotModel slots;
    slots.setAction(1, 2);
    slots.setProgramPath(1, "  /usr/bin/gimp ");
    slots.setShowMode(1, "3");
    slots.setAction(2, 18);
    slots.setWebAddress(2, "https://example.org");
    slots.setProgramPath(2, "/not/written");
    slots.setAction(10, 17);
    slots.setInsertText(10, "first line\nsecond line");
    slots.setWebAddress(10, "not written either");
    // slot 11 keeps -1: nothing selected
    SaveSlotSettings(store, slots);

    EXPECT_EQ(store.get("F1"), "2");
    EXPECT_EQ(store.get("F1a"), "  /usr/bin/gimp ");  // exactly as it stands
    EXPECT_EQ(store.get("F1aa"), "3");
    EXPECT_EQ(store.get("F2"), "18");
    EXPECT_EQ(store.get("F2a"), "https://example.org");
    EXPECT_EQ(store.get("F2aa"), "1");
    EXPECT_EQ(store.get("F10"), "17");
    EXPECT_EQ(store.get("F10c"), "first line\r\nsecond line");
    EXPECT_FALSE(store.has("F10a"));
    EXPECT_FALSE(store.has("F10aa"));
    EXPECT_EQ(store.get("F11"), "-1");
    EXPECT_FALSE(store.has("F1c"));
    EXPECT_FALSE(store.has("F1b"));
    EXPECT_EQ(store.size(), 3u + 3u + 2u + 8u);  // F3..F9 and F11 write only Fn
    EXPECT_EQ(store.openHandles(), 0);
}

TEST(SlotSettings, SaveAndRestartRestoresEveryField) {
    FakeSettingsStore store;
    SlotModel before;
    before.setAction(1, 2);
    before.setProgramPath(1, "/opt/Prog Files/äpp");
    before.setShowMode(1, "3");
    before.setAction(5, 18);
    before.setWebAddress(5, "example.org");
    before.setShowMode(5, "2");
    before.setAction(10, 17);
    before.setInsertText(10, "Grüße\nZeile zwei\n");
    before.setAction(3, 21);
    SaveSlotSettings(store, before);

    SlotModel after;
    StoredSlotSettings stored = ReadSlotSettings(store, after);
    // Before the text step the text slot is still untouched; every other slot is set.
    EXPECT_EQ(after.action(10), kNoAction);
    EXPECT_EQ(after.action(1), 2);
    EXPECT_EQ(after.action(3), 21);
    ApplyStoredInsertTexts(stored, after);
    EXPECT_EQ(after.action(10), 17);
    EXPECT_EQ(after.insertText(10), "Grüße\nZeile zwei\n");
    ApplySlotSettings(store, stored, after, true);
    for (int n = 1; n <= kSlotCount; ++n) {
        EXPECT_EQ(after.slot(n).action, before.slot(n).action) << n;
    }
    EXPECT_EQ(after.programPath(1), "/opt/Prog Files/äpp");
    EXPECT_EQ(after.showMode(1), "3");
    EXPECT_EQ(after.webAddress(5), "example.org");
    EXPECT_EQ(after.showMode(5), "2");
}

TEST(SlotSettings, UnusedValuesStayUntilTheNextRestoreCleansThemUp) {
    FakeSettingsStore store;
    SlotModel slots;
    slots.setAction(4, 18);
    slots.setWebAddress(4, "example.org");
    SaveSlotSettings(store, slots);
    slots.setAction(4, 0);
    SaveSlotSettings(store, slots);
    EXPECT_EQ(store.get("F4"), "0");
    EXPECT_EQ(store.get("F4a"), "example.org");
    EXPECT_EQ(store.get("F4aa"), "1");

    store.set("F4b", "reserved");
    store.set("F4c", "old text");
    store.log.clear();
    SlotModel restarted;
    ReadSlotSettings(store, restarted);
    EXPECT_FALSE(store.has("F4a"));
    EXPECT_FALSE(store.has("F4b"));
    EXPECT_FALSE(store.has("F4c"));
    EXPECT_FALSE(store.has("F4aa"));
    // The clean-up deletes in this order, after all reads.
    std::vector<std::string> deletes;
    for (const std::string& op : store.log) {
        if (op.rfind("Delete(F4", 0) == 0)
            deletes.push_back(op);
    }
    EXPECT_EQ(deletes, (std::vector<std::string>{"Delete(F4a)", "Delete(F4b)", "Delete(F4c)",
                                                 "Delete(F4aa)"}));
    EXPECT_EQ(store.log.front(), "Read(F1)");
}

TEST(SlotSettings, ActionCellsAreComparedAsTextAndAssignedAsNumbers) {
    struct Case {
        std::string stored;
        int action;
        bool cleaned;
    };
    const Case cases[] = {
        {"02", 2, true},  {"-1", kNoAction, true}, {"25", kNoAction, true}, {"+3", 3, true},
        {"abc", 0, true}, {"", 0, true},           {"2", 2, false},         {"18", 18, false},
    };
    for (const Case& c : cases) {
        FakeSettingsStore store;
        store.set("F7", c.stored);
        store.set("F7a", "/bin/true");
        store.set("F7aa", "3");
        SlotModel slots;
        Restart(store, slots);
        EXPECT_EQ(slots.action(7), c.action) << c.stored;
        EXPECT_EQ(store.has("F7a"), !c.cleaned) << c.stored;
        if (c.stored == "02") {
            EXPECT_EQ(slots.programPath(7), "") << "02 applies no path";
        }
    }
}

TEST(SlotSettings, MissingExtraValuesApplyAsEmptyText) {
    FakeSettingsStore store;
    store.set("F2", "2");
    store.set("F3", "17");
    SlotModel slots;
    slots.setProgramPath(2, "stale");
    slots.setInsertText(3, "stale");
    Restart(store, slots);
    EXPECT_EQ(slots.programPath(2), "");
    EXPECT_EQ(slots.showMode(2), "");
    EXPECT_EQ(slots.action(3), 17);
    EXPECT_EQ(slots.insertText(3), "");
}

TEST(SlotSettings, TheLastStepReplacesEditsMadeDuringStart) {
    FakeSettingsStore store;
    store.set("F6", "18");
    store.set("F6a", "stored.example");
    store.set("F6aa", "1");
    SlotModel slots;
    StoredSlotSettings stored = ReadSlotSettings(store, slots);
    ApplyStoredInsertTexts(stored, slots);
    slots.setAction(6, 8);
    slots.setWebAddress(6, "typed.example");
    store.set("F6a", "changed behind our back");  // the table is not refreshed
    ApplySlotSettings(store, stored, slots, true);
    EXPECT_EQ(slots.action(6), 18);
    EXPECT_EQ(slots.webAddress(6), "stored.example");
}

TEST(SlotSettings, TextSlotIsLeftAloneWithoutTheTextStep) {
    FakeSettingsStore store;
    store.set("F9", "17");
    store.set("F9c", "a\r\nb");
    SlotModel slots;
    slots.setAction(9, 5);
    StoredSlotSettings stored = ReadSlotSettings(store, slots);
    EXPECT_EQ(slots.action(9), 5);
    EXPECT_TRUE(store.has("F9c"));
    ApplySlotSettings(store, stored, slots, true);
    EXPECT_EQ(slots.action(9), 17);
    EXPECT_EQ(slots.insertText(9), "a\nb");
}

TEST(SlotSettings, WronglyTypedValueIsReportedAndTheRestStillRead) {
    FakeSettingsStore store;
    store.set("F1", "2");
    store.set("F1a", "/bin/prog");
    store.setNonString("F3a");
    store.set("F5", "6");
    SlotModel slots;
    StoredSlotSettings stored = ReadSlotSettings(store, slots);
    EXPECT_EQ(stored.readError, "Ungültiger Datentyp für 'F3a'");
    EXPECT_EQ(slots.action(1), 2);
    EXPECT_EQ(slots.programPath(1), "/bin/prog");
    EXPECT_EQ(slots.action(5), 6);
}

TEST(SlotSettings, RefusedWriteRaisesTheStoreErrorAndSkipsTheRest) {
    FakeSettingsStore store;
    store.writable = false;
    SlotModel slots;
    slots.setAction(1, 4);
    try {
        SaveSlotSettings(store, slots);
        FAIL() << "no error";
    } catch (const BriskoError& e) {
        EXPECT_STREQ(e.what(), "Fehler beim Setzen der Daten für 'F1'");
    }
    EXPECT_EQ(store.log.size(), 1u);
    EXPECT_EQ(store.openHandles(), 0);
}

TEST(SlotSettings, CleanUpThatCannotBeStoredKeepsTheRestoreGoing) {
    FakeSettingsStore store;
    store.set("F1", "2");
    store.set("F1a", "/usr/bin/gimp");
    store.set("F1aa", "3");
    store.set("F4", "0");
    store.set("F4a", "left over");
    store.set("F5", "17");
    store.set("F5c", "text");
    store.closeFails = true;
    SlotModel slots;
    StoredSlotSettings stored;
    ASSERT_NO_THROW(stored = ReadSlotSettings(store, slots));
    EXPECT_TRUE(stored.readError.empty());
    EXPECT_EQ(slots.action(1), 2);
    // The later steps still have the table to apply.
    ApplyStoredInsertTexts(stored, slots);
    ASSERT_NO_THROW(ApplySlotSettings(store, stored, slots, true));
    EXPECT_EQ(slots.action(1), 2);
    EXPECT_EQ(slots.programPath(1), "/usr/bin/gimp");
    EXPECT_EQ(slots.action(5), 17);
    EXPECT_EQ(slots.insertText(5), "text");
}

TEST(SlotSettings, InstallationDirectoryFallsBackWhenPathIsMissingOrEmpty) {
    FakeSettingsStore store;
    EXPECT_EQ(InstallationDirectory(store, "/usr/share/brisko"), "/usr/share/brisko");
    store.set("Path", "");
    EXPECT_EQ(InstallationDirectory(store, "/usr/share/brisko"), "/usr/share/brisko");
    store.set("Path", "/opt/brisko/");
    EXPECT_EQ(InstallationDirectory(store, "/usr/share/brisko"), "/opt/brisko/");
}

TEST(SettingsKeyPath, BothSpellingsNameOneKey) {
    EXPECT_EQ(NormalizeKeyPath(kSettingsKeyPath), "Software\\Orvalde\\Brisko");
    EXPECT_TRUE(SameKeyPath(kSettingsKeyPath, kSettingsKeyPathRelative));
    EXPECT_TRUE(SameKeyPath("software\\orvalde\\BRISKO", kSettingsKeyPathRelative));
    EXPECT_FALSE(SameKeyPath(kSettingsKeyPath, kRunKeyPath));
    FakeSettingsStore store;
    {
        SettingsKey key(store, SettingsRoot::CurrentUser, kSettingsKeyPath, true);
        key.write("Style", "Luna");
    }
    SettingsKey other(store, SettingsRoot::CurrentUser, kSettingsKeyPathRelative, false);
    ASSERT_TRUE(other.isOpen());
    EXPECT_EQ(other.read("Style"), "Luna");
}
