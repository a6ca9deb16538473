#include "HotkeySlot.h"

#include <stdexcept>

namespace brisko {

const std::array<const char*, kActionCount> kActionCaptions = {
    "(Nichts)",
    "Alles minimieren",
    "Benutzerdefiniertes Programm",
    "Bildschirmeigenschaften (Dialog)",
    "Datum/Zeit (Dialog)",
    "EBay-Suche",
    "Einfügen",
    "Google-Suche",
    "Kopieren",
    "Ländereinstellungen (Dialog)",
    "Multimediaoptionen (Dialog)",
    "Programm schliessen",
    "Software (Dialog)",
    "Suchen (Dialog)",
    "Startmenü aufrollen",
    "Systemeigenschaften (Dialog)",
    "Systemsteuerung öffnen",
    "Text einfügen",
    "Webseite",
    "Windows herunterfahren",
    "Windows neustarten",
    "Windows abmelden",
};

std::string SlotKeyName(int slot) {
    return "F" + std::to_string(slot);
}

void SlotModel::setAction(int slot, int action) {
    at(slot).action = IsCatalogueAction(action) ? action : kNoAction;
}

void SlotModel::deleteAll() {
    for (int n = 1; n <= kSlotCount; ++n) {
        HotkeySlot& s = at(n);
        s.action = static_cast<int>(ActionKind::Nothing);
        s.programPath.clear();
        s.webAddress.clear();
    }
}

HotkeySlot& SlotModel::at(int slot) {
    if (!IsSlot(slot))
        throw std::out_of_range("slot " + std::to_string(slot));
    ++revision_;  // any mutable access may change the slot
    return slots_[slot - 1];
}

const HotkeySlot& SlotModel::at(int slot) const {
    if (!IsSlot(slot))
        throw std::out_of_range("slot " + std::to_string(slot));
    return slots_[slot - 1];
}

}  // namespace brisko
