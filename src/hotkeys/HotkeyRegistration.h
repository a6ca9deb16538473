#pragma once

#include "HotkeySlot.h"
#include "SystemControl.h"

namespace brisko {

/// Period of the program's continuous timers, in milliseconds.
inline constexpr int kTickIntervalMs = 16;

/// Registers slot n's bare function key for the window.
void RegisterSlotHotkey(SystemControl& system, WindowHandle window, int slot);

/// One tick of the registration: for each slot in order, a free slot (action 0) is
/// unregistered and any other (−1 included) is registered. Exactly eleven calls; failures are
/// ignored, so a key held elsewhere is simply tried again at the next tick.
void SyncHotkeyRegistration(SystemControl& system, WindowHandle window, const SlotModel& slots);

}  // namespace brisko
