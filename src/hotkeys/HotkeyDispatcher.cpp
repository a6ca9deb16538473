#include "HotkeyDispatcher.h"

#include "ActionNames.h"
#include "BriskoError.h"
#include "SystemCommands.h"

namespace brisko {

namespace names = action_names;

const char* const kOwnExecutableName = "BRZ.exe";

HotkeyDispatcher::HotkeyDispatcher(SystemControl& system, const SlotModel& slots,
                                   WindowHandle mainWindow, std::string systemVersionName,
                                   std::function<void()> saveSlotSettings)
    : system_(system),
      slots_(slots),
      mainWindow_(mainWindow),
      versionName_(std::move(systemVersionName)),
      saveSlotSettings_(std::move(saveSlotSettings)),
      ownExecutable_(kOwnExecutableName) {}

void HotkeyDispatcher::OnHotkeyMessage(std::uintptr_t wParam) {
    const int id = static_cast<int>(wParam & 0xFFFF);
    if (auto slot = SlotForHotkeyId(id))
        Perform(*slot);
}

void HotkeyDispatcher::KeySequence(std::uint8_t modifier, std::uint8_t key) {
    system_.keybd_event(modifier, 0, 0, 0);
    system_.keybd_event(key, 0, 0, 0);
    system_.keybd_event(modifier, 0, KEYEVENTF_KEYUP, 0);
    system_.keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

void HotkeyDispatcher::ShellOpen(const std::string& file, int showCommand) {
    system_.ShellExecuteA(mainWindow_, "open", file, "", "", showCommand);
}

void HotkeyDispatcher::Perform(int n) {
    // The index is read afresh for every test; the order decides nothing but that shutdown
    // and restart end the program before the later tests.
    auto is = [&](ActionKind kind) { return slots_.action(n) == static_cast<int>(kind); };

    if (is(ActionKind::MinimizeAll))
        ShellOpen(InWindowsDirectory(WindowsDirectory(system_), names::kShowDesktop), SW_SHOW);
    if (is(ActionKind::CustomProgram)) {
        const int show = StrToInt(slots_.showMode(n));
        ShellOpen(slots_.programPath(n), show);
    }
    if (is(ActionKind::StartMenu))
        system_.SendMessageA(mainWindow_, WM_SYSCOMMAND, SC_TASKLIST, 0);
    if (is(ActionKind::WebPage)) {
        const int show = StrToInt(slots_.showMode(n));
        ShellOpen(slots_.webAddress(n), show);
    }
    if (is(ActionKind::SearchDialog))
        system_.ShellExecuteA(mainWindow_, "find", names::kSearchFolder, "", "", SW_SHOW);
    if (is(ActionKind::Shutdown)) {
        if (saveSlotSettings_)
            saveSlotSettings_();
        ShutdownForSystem(system_, versionName_);
        TerminateProcessesByName(system_, ownExecutable_);
    }
    if (is(ActionKind::Restart)) {
        if (saveSlotSettings_)
            saveSlotSettings_();
        ExitWindowsWithPrivilege(system_, EWX_REBOOT);
        TerminateProcessesByName(system_, ownExecutable_);
    }
    if (is(ActionKind::LogOff)) {
        if (!system_.ExitWindowsEx(EWX_LOGOFF, 0))
            system_.MessageBoxA("Beim Abmelden ist ein Fehler aufgetreten");
    }
    if (is(ActionKind::DateTime))
        OpenControlPanelApplet(system_, names::kDateTimeApplet);
    if (is(ActionKind::SystemProperties))
        OpenControlPanelApplet(system_, names::kSystemApplet);
    if (is(ActionKind::SoftwareDialog))
        OpenControlPanelApplet(system_, names::kSoftwareApplet);
    if (is(ActionKind::DisplayProperties))
        OpenControlPanelApplet(system_, names::kDisplayApplet);
    if (is(ActionKind::RegionalSettings))
        OpenControlPanelApplet(system_, names::kRegionalApplet);
    if (is(ActionKind::InsertText)) {
        system_.SetClipboardText(slots_.insertText(n));
        KeySequence(VK_CONTROL, 'V');
    }
    if (is(ActionKind::GoogleSearch))
        ShellOpen(InWindowsDirectory(WindowsDirectory(system_), names::kGoogleSearch), SW_SHOW);
    if (is(ActionKind::EbaySearch))
        ShellOpen(InWindowsDirectory(WindowsDirectory(system_), names::kEbaySearch), SW_SHOW);
    if (is(ActionKind::MultimediaOptions))
        OpenControlPanelApplet(system_, names::kMultimediaApplet);
    if (is(ActionKind::Copy))
        KeySequence(VK_CONTROL, 'C');
    if (is(ActionKind::Paste))
        KeySequence(VK_CONTROL, 'V');
    if (is(ActionKind::ControlPanel))
        ShellOpen(names::kControlPanel, SW_SHOW);
    if (is(ActionKind::CloseProgram))
        KeySequence(VK_MENU, VK_F4);
}

}  // namespace brisko
