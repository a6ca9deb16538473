#pragma once

#include <string>

#include "hotkeys/HotkeySlot.h"

namespace brisko::testing {

/// The action of slot n in a generation: 2, 17 and 18 take turns.
inline int GenerationAction(long generation, int n) {
    static constexpr int kActions[3] = {2, 17, 18};
    return kActions[(generation + n) % 3];
}

/// The text every value of slot n holds in a generation (paths, addresses and texts alike).
inline std::string GenerationText(long generation, int n) {
    return "gen " + std::to_string(generation) + " slot " + std::to_string(n) +
           ", with: \"quotes\" ;and\\ backslash " +
           std::string(static_cast<std::size_t>(n * 40), 'x');
}

inline void FillGeneration(SlotModel& slots, long generation) {
    for (int n = 1; n <= kSlotCount; ++n) {
        slots.setAction(n, GenerationAction(generation, n));
        slots.setProgramPath(n, GenerationText(generation, n));
        slots.setWebAddress(n, GenerationText(generation, n));
        slots.setInsertText(n, GenerationText(generation, n) + "\nsecond line");
        slots.setShowMode(n, std::to_string(1 + generation % 3));
    }
}

}  // namespace brisko::testing
