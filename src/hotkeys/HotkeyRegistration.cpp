#include "HotkeyRegistration.h"

namespace brisko {

void RegisterSlotHotkey(SystemControl& system, WindowHandle window, int slot) {
    system.RegisterHotKey(window, SlotHotkeyId(slot), 0, SlotVirtualKey(slot));
}

void SyncHotkeyRegistration(SystemControl& system, WindowHandle window, const SlotModel& slots) {
    for (int n = 1; n <= kSlotCount; ++n) {
        if (slots.action(n) == 0)
            system.UnregisterHotKey(window, SlotHotkeyId(n));
        if (slots.action(n) != 0)
            RegisterSlotHotkey(system, window, n);
    }
}

}  // namespace brisko
