#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "HotkeySlot.h"
#include "SystemControl.h"

namespace brisko {

/// The program's own executable name, whose processes end after a shutdown or restart.
extern const char* const kOwnExecutableName;

/// Performs the action of the slot whose hotkey was pressed.
class HotkeyDispatcher {
public:
    /// saveSlotSettings is called before the shutdown and restart actions.
    HotkeyDispatcher(SystemControl& system, const SlotModel& slots, WindowHandle mainWindow,
                     std::string systemVersionName, std::function<void()> saveSlotSettings);

    /// Handles WM_HOTKEY: the low 16 bits of wParam are the hotkey id. Ids outside 255..265
    /// do nothing. Raises BriskoError when a show mode is not a number; nothing is started
    /// then. The caller passes the message on to default handling when this returns.
    void OnHotkeyMessage(std::uintptr_t wParam);

    /// The executable name that shutdown and restart terminate ("BRZ.exe" on Windows).
    void setOwnExecutableName(std::string name) { ownExecutable_ = std::move(name); }

private:
    void Perform(int slot);
    void KeySequence(std::uint8_t modifier, std::uint8_t key);
    void ShellOpen(const std::string& file, int showCommand);

    SystemControl& system_;
    const SlotModel& slots_;
    WindowHandle mainWindow_;
    std::string versionName_;
    std::function<void()> saveSlotSettings_;
    std::string ownExecutable_;
};

}  // namespace brisko
