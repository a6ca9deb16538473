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
    const int value = IsCatalogueAction(action) ? action : kNoAction;
    if (slots_[index(slot)].action == value)
        return;
    slots_[index(slot)].action = value;
    changed(slot);
}

void SlotModel::assign(int slot, std::string HotkeySlot::*field, std::string value) {
    std::string& current = slots_[index(slot)].*field;
    if (current == value)
        return;
    current = std::move(value);
    changed(slot);
}

void SlotModel::deleteAll() {
    for (int n = 1; n <= kSlotCount; ++n) {
        setAction(n, static_cast<int>(ActionKind::Nothing));
        setProgramPath(n, {});
        setWebAddress(n, {});
    }
}

void SlotModel::changed(int slot) {
    ++revision_;
    ++slotRevisions_[index(slot)];
}

std::size_t SlotModel::index(int slot) {
    if (!IsSlot(slot))
        throw std::out_of_range("slot " + std::to_string(slot));
    return static_cast<std::size_t>(slot - 1);
}

}  // namespace brisko
