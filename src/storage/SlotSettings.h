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
    /// The error of the first value that could not be read (a value that is not a string);
    /// "" when every value was read. Such a value counts as empty and the other values are
    /// read and applied all the same; the caller shows this text in the error box.
    std::string readError;
    Row& row(int slot) { return rows.at(slot - 1); }
    const Row& row(int slot) const { return rows.at(slot - 1); }
};

/// Insert texts are held in the slots with LF line breaks and stored with CR LF.

/// Writes the eleven slots to the settings key: Fn always, Fna and Fnaa for actions 2 and 18,
/// Fnc for action 17. Values the action does not use are left as they are. Raises
/// "Fehler beim Setzen der Daten für '%s'" when the store refuses a value.
void SaveSlotSettings(SettingsStore& store, const SlotModel& slots);

/// Reads the stored slots (empty actions become "0") and applies them without the text step.
/// Keep the result: the later start-up steps apply it again.
StoredSlotSettings ReadSlotSettings(SettingsStore& store, SlotModel& slots);

/// Applies the stored slots; with the text step, slots stored as "17" get their texts too.
/// Slots that fall into the clean-up row have their unused values deleted; deletes the store
/// cannot keep are dropped quietly, so this never raises. An action that is not an integer
/// counts as "0".
void ApplySlotSettings(SettingsStore& store, const StoredSlotSettings& stored, SlotModel& slots,
                       bool withText);

/// The first-tick step: every slot stored as "17" gets action 17 and its text.
void ApplyStoredInsertTexts(const StoredSlotSettings& stored, SlotModel& slots);

}  // namespace brisko
