#pragma once

#include <array>
#include <string>

#include "SettingsStore.h"
#include "hotkeys/HotkeySlot.h"

namespace brisko {

/// The slot values as read from the settings key at start, one row per slot.
struct StoredSlotSettings {
    struct Row {
        std::string action;  // Fn
        std::string a;       // Fna: program path or web address
        std::string b;       // Fnb: reserved
        std::string c;       // Fnc: insert text
        std::string aa;      // Fnaa: show mode
    };
    std::array<Row, kSlotCount> rows{};
    Row& row(int slot) { return rows.at(slot - 1); }
    const Row& row(int slot) const { return rows.at(slot - 1); }
};

/// Writes the eleven slots to the settings key.
void SaveSlotSettings(SettingsStore& store, const SlotModel& slots);

/// Reads the stored slots (empty actions become "0") and applies them without the text step.
StoredSlotSettings ReadSlotSettings(SettingsStore& store, SlotModel& slots);

/// Applies the stored slots; with the text step, slots stored as "17" get their texts too.
/// Slots that fall into the clean-up row have their unused values deleted.
void ApplySlotSettings(SettingsStore& store, const StoredSlotSettings& stored, SlotModel& slots,
                       bool withText);

/// The first-tick step: every slot stored as "17" gets action 17 and its text.
void ApplyStoredInsertTexts(const StoredSlotSettings& stored, SlotModel& slots);

}  // namespace brisko
