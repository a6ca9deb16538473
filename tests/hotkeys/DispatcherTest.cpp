#include <gtest/gtest.h>

#include "FakeSystemControl.h"
#include "hotkeys/BriskoError.h"
#include "hotkeys/HotkeyDispatcher.h"

using brisko::ActionKind;
using brisko::BriskoError;
using brisko::HotkeyDispatcher;
using brisko::SlotModel;
using brisko::testing::FakeSystemControl;
using Calls = std::vector<std::string>;

namespace {

constexpr brisko::WindowHandle kMain = 7;

class DispatcherTest : public ::testing::Test {
protected:
    DispatcherTest() {
        for (int n = 1; n <= brisko::kSlotCount; ++n)
            slots.setAction(n, 0);
    }
    void Press(int slot, int action) {
        slots.setAction(slot, action);
        dispatcher.OnHotkeyMessage(static_cast<std::uintptr_t>(brisko::SlotHotkeyId(slot)));
    }
    // Calls made after the Windows directory lookup, which several actions make first.
    Calls EffectCalls() const {
        Calls out;
        for (const auto& c : fake.calls())
            if (c.rfind("GetWindowsDirectoryA(", 0) != 0)
                out.push_back(c);
        return out;
    }

    FakeSystemControl fake;
    SlotModel slots;
    int saves = 0;
    HotkeyDispatcher dispatcher{fake, slots, kMain, "Unknown", [this] {
                                    ++saves;
                                    fake.MessageBoxA("<saved>");
                                }};
};

const Calls kCtrlV = {"keybd_event(17, 0, 0, 0)", "keybd_event(86, 0, 0, 0)",
                      "keybd_event(17, 0, 2, 0)", "keybd_event(86, 0, 2, 0)"};

std::string Applet(const std::string& name) {
    return "WinExec(\"rundll32.exe shell32.dll,Control_RunDLL " + name + "\", 1)";
}

}  // namespace

TEST_F(DispatcherTest, EverySimpleActionMakesItsExactCalls) {
    slots.setProgramPath(4, "/never/read");
    slots.setWebAddress(4, "never.read");
    const std::vector<std::pair<int, Calls>> expected = {
        {1, {"ShellExecuteA(7, \"open\", \"C:\\WINDOWS\\Desktop anzeigen.scf\", \"\", \"\", 5)"}},
        {3, {Applet("desk.cpl")}},
        {4, {Applet("timedate.cpl")}},
        {5, {"ShellExecuteA(7, \"open\", \"C:\\WINDOWS\\EBay.exe\", \"\", \"\", 5)"}},
        {6, kCtrlV},
        {7, {"ShellExecuteA(7, \"open\", \"C:\\WINDOWS\\Google.exe\", \"\", \"\", 5)"}},
        {8,
         {"keybd_event(17, 0, 0, 0)", "keybd_event(67, 0, 0, 0)", "keybd_event(17, 0, 2, 0)",
          "keybd_event(67, 0, 2, 0)"}},
        {9, {Applet("intl.cpl")}},
        {10, {Applet("mmsys.cpl")}},
        {11,
         {"keybd_event(18, 0, 0, 0)", "keybd_event(115, 0, 0, 0)", "keybd_event(18, 0, 2, 0)",
          "keybd_event(115, 0, 2, 0)"}},
        {12, {Applet("appwiz.cpl")}},
        {13, {"ShellExecuteA(7, \"find\", \"C:\\\", \"\", \"\", 5)"}},
        {14, {"SendMessageA(7, 274, 61744, 0)"}},
        {15, {Applet("sysdm.cpl")}},
        {16, {"ShellExecuteA(7, \"open\", \"control.exe\", \"\", \"\", 5)"}},
    };
    for (const auto& [action, calls] : expected) {
        fake.clear();
        Press(4, action);
        EXPECT_EQ(EffectCalls(), calls) << "action " << action;
    }
}

TEST_F(DispatcherTest, ProgramAndWebPageOpenWithTheSlotsShowMode) {
    slots.setProgramPath(5, "C:\\Programme\\editor.exe");
    slots.setWebAddress(5, "https://example.org/a b");
    slots.setShowMode(5, "3");
    Press(5, 2);
    slots.setShowMode(5, "2");
    Press(5, 18);
    EXPECT_EQ(fake.calls(),
              (Calls{"ShellExecuteA(7, \"open\", \"C:\\Programme\\editor.exe\", \"\", \"\", 3)",
                     "ShellExecuteA(7, \"open\", \"https://example.org/a b\", \"\", \"\", 2)"}));
}

TEST_F(DispatcherTest, ShowModeThatIsNoNumberStartsNothingAndRaises) {
    slots.setProgramPath(2, "/usr/bin/true");
    for (const char* bad : {"", "x", "3 ", "1.0", "99999999999"}) {
        slots.setShowMode(2, bad);
        try {
            Press(2, 2);
            ADD_FAILURE() << "no error for '" << bad << "'";
        } catch (const BriskoError& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("'") + bad + "' ist kein gültiger Integerwert");
        }
        slots.setShowMode(2, bad);
        EXPECT_THROW(Press(2, 18), BriskoError);
    }
    EXPECT_TRUE(fake.calls().empty());
}

TEST_F(DispatcherTest, InsertTextUsesThatSlotsTextThenTypesCtrlV) {
    slots.setInsertText(3, "Grüße\r\nZeile zwei");
    slots.setInsertText(4, "other");
    Press(3, 17);
    Calls expected = {"SetClipboardText(\"Grüße\r\nZeile zwei\")"};
    expected.insert(expected.end(), kCtrlV.begin(), kCtrlV.end());
    EXPECT_EQ(fake.calls(), expected);
}

TEST_F(DispatcherTest, ShutdownSavesThenPowersOffThenEndsItself) {
    fake.processes = {{0, 11, "bash"}, {0, 12, "BRZ"}, {0, 13, "brz.exe"}, {0, 14, "BRZ.exe"}};
    fake.ownProcessId = 13;
    EXPECT_THROW(Press(9, 19), brisko::testing::OwnProcessEnded);
    EXPECT_EQ(saves, 1);
    const Calls& c = fake.calls();
    ASSERT_FALSE(c.empty());
    EXPECT_EQ(c.front(), "MessageBoxA(\"<saved>\")");
    auto at = [&](const std::string& s) { return std::find(c.begin(), c.end(), s) - c.begin(); };
    EXPECT_LT(at("ExitWindowsEx(8, 0)"), at("CreateToolhelp32Snapshot(2, 0)"));
    EXPECT_EQ(c.back(), "TerminateProcess(5013, 0)");  // the loop ends with its own process
}

TEST_F(DispatcherTest, RestartRequestsRebootAndStillEndsWhenRefused) {
    fake.exitWindowsResult = false;
    fake.processes = {{0, 40, "BRZ.exe"}};
    fake.ownProcessId = 40;
    EXPECT_THROW(Press(1, 20), brisko::testing::OwnProcessEnded);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(fake.callsNamed("ExitWindowsEx"), Calls{"ExitWindowsEx(2, 0)"});
    EXPECT_EQ(fake.callsNamed("MessageBoxA"), Calls{"MessageBoxA(\"<saved>\")"});
}

TEST_F(DispatcherTest, LogOffShowsTheMessageOncePerRefusedPress) {
    Press(6, 21);
    EXPECT_EQ(fake.calls(), Calls{"ExitWindowsEx(0, 0)"});
    fake.clear();
    fake.exitWindowsResult = false;
    Press(6, 21);
    Press(6, 21);
    EXPECT_EQ(fake.calls(), (Calls{"ExitWindowsEx(0, 0)",
                                   "MessageBoxA(\"Beim Abmelden ist ein Fehler aufgetreten\")",
                                   "ExitWindowsEx(0, 0)",
                                   "MessageBoxA(\"Beim Abmelden ist ein Fehler aufgetreten\")"}));
    EXPECT_EQ(saves, 0);
}

TEST_F(DispatcherTest, FreeUnselectedAndForeignIdsDoNothing) {
    Press(1, 0);
    Press(2, -1);
    Press(3, 25);  // out of the catalogue: nothing selected
    slots.setAction(11, 6);
    for (std::uintptr_t id : {254u, 266u, 0u, 0x10000u + 254u})
        dispatcher.OnHotkeyMessage(id);
    EXPECT_TRUE(fake.calls().empty());
    // Only the low 16 bits carry the id.
    dispatcher.OnHotkeyMessage(0xABCD0000u + 265u);
    EXPECT_EQ(fake.calls(), kCtrlV);
}

TEST_F(DispatcherTest, WindowsDirectoryWithTrailingBackslashOrFailure) {
    fake.windowsDirectory = "C:\\";
    Press(1, 1);
    fake.windowsDirectory.reset();
    Press(1, 7);
    EXPECT_EQ(EffectCalls(),
              (Calls{"ShellExecuteA(7, \"open\", \"C:\\Desktop anzeigen.scf\", \"\", \"\", 5)",
                     "ShellExecuteA(7, \"open\", \"\\Google.exe\", \"\", \"\", 5)"}));
}
