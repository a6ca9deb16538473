#include <gtest/gtest.h>

#include "hotkeys/BriskoError.h"
#include "hotkeys/HotkeySlot.h"

using namespace brisko;

TEST(SlotModel, MappingsOfTheElevenSlots) {
    EXPECT_EQ(SlotKeyName(1), "F1");
    EXPECT_EQ(SlotKeyName(11), "F11");
    EXPECT_EQ(SlotHotkeyId(11), 265);
    EXPECT_EQ(SlotVirtualKey(11), 122);
    EXPECT_EQ(SlotVirtualKey(1), 112);
    EXPECT_EQ(SlotForHotkeyId(255), 1);
    EXPECT_EQ(SlotForHotkeyId(265), 11);
    EXPECT_FALSE(SlotForHotkeyId(254));
    EXPECT_FALSE(SlotForHotkeyId(266));
    EXPECT_STREQ(kActionCaptions[0], "(Nichts)");
    EXPECT_STREQ(kActionCaptions[17], "Text einfügen");
    EXPECT_STREQ(kActionCaptions[21], "Windows abmelden");
}

TEST(SlotModel, InitialStateOutOfRangeActionsAndDeleteAll) {
    SlotModel slots;
    for (int n = 1; n <= kSlotCount; ++n) {
        EXPECT_EQ(slots.action(n), kNoAction);
        EXPECT_EQ(slots.showMode(n), "1");
    }
    slots.setAction(2, 22);
    EXPECT_EQ(slots.action(2), -1);
    slots.setAction(2, -5);
    EXPECT_EQ(slots.action(2), -1);
    slots.setAction(2, 21);
    EXPECT_EQ(slots.action(2), 21);
    EXPECT_THROW(slots.action(0), std::out_of_range);
    EXPECT_THROW(slots.setAction(12, 1), std::out_of_range);

    slots.setAction(3, 2);
    slots.setProgramPath(3, "/bin/x");
    slots.setShowMode(3, "3");
    slots.setWebAddress(4, "example.org");
    slots.setInsertText(5, "text");
    const auto before = slots.revision();
    slots.deleteAll();
    EXPECT_GT(slots.revision(), before);
    for (int n = 1; n <= kSlotCount; ++n) {
        EXPECT_EQ(slots.action(n), 0);
        EXPECT_EQ(slots.programPath(n), "");
        EXPECT_EQ(slots.webAddress(n), "");
    }
    EXPECT_EQ(slots.showMode(3), "3");
    EXPECT_EQ(slots.insertText(5), "text");

    // Only a real change counts, and only for its slot.
    const auto settled = slots.revision();
    const auto slot5 = slots.revision(5);
    slots.deleteAll();
    slots.setShowMode(3, "3");
    slots.setInsertText(5, "text");
    (void)slots.slot(5);
    EXPECT_EQ(slots.revision(), settled);
    slots.setInsertText(6, "other");
    EXPECT_EQ(slots.revision(), settled + 1);
    EXPECT_EQ(slots.revision(5), slot5);
}

TEST(ErrorPath, ConversionAndHandlerRunner) {
    EXPECT_EQ(StrToInt("3"), 3);
    EXPECT_EQ(StrToInt("-1"), -1);
    EXPECT_EQ(StrToInt("+17"), 17);
    EXPECT_EQ(StrToInt("02"), 2);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "-", " 1", "1 ", "0x10", "2147483648", "１"})
        EXPECT_THROW(StrToInt(bad), BriskoError) << bad;

    struct Sink : ErrorSink {
        std::vector<std::string> shown;
        void ShowError(const std::string& text) override { shown.push_back(text); }
    } sink;
    bool after = false;
    EXPECT_FALSE(RunHandler(sink, [&] {
        StrToInt("abc");
        after = true;
    }));
    EXPECT_FALSE(after);
    EXPECT_TRUE(RunHandler(sink, [] {}));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0], "'abc' ist kein gültiger Integerwert");
    EXPECT_EQ(FormatMessage("Ungültiger Datentyp für '%s'", "F1"), "Ungültiger Datentyp für 'F1'");
    EXPECT_EQ(FormatMessage("E/A-Fehler %d", 5), "E/A-Fehler 5");
}
