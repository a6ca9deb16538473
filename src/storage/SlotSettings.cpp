#include "SlotSettings.h"

#include <optional>

#include "SettingNames.h"
#include "hotkeys/BriskoError.h"

namespace brisko {

namespace names = setting_names;

namespace {

constexpr int kCustomProgram = static_cast<int>(ActionKind::CustomProgram);
constexpr int kInsertText = static_cast<int>(ActionKind::InsertText);
constexpr int kWebPage = static_cast<int>(ActionKind::WebPage);

std::string ValueName(int slot, const char* suffix) {
    return SlotKeyName(slot) + suffix;
}

// Every line break as CR LF, the stored form of a multi-line text.
std::string ToCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string FromCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

int ActionOrZero(const std::string& text) {
    try {
        return StrToInt(text);
    } catch (const BriskoError&) {
        return 0;  // a hand-edited value that is no number at all: the slot is free
    }
}

}  // namespace

void SaveSlotSettings(SettingsStore& store, const SlotModel& slots) {
    // One open for all eleven slots, so the store replaces its copy once and a save is never
    // half visible.
    SettingsKey key = OpenSettingsKey(store);
    for (int n = 1; n <= kSlotCount; ++n) {
        int action = slots.action(n);
        key.write(ValueName(n, names::kSlotAction), std::to_string(action));
        if (action == kCustomProgram) {
            key.write(ValueName(n, names::kSlotPathOrAddress), slots.programPath(n));
            key.write(ValueName(n, names::kSlotShowMode), slots.showMode(n));
        } else if (action == kWebPage) {
            key.write(ValueName(n, names::kSlotPathOrAddress), slots.webAddress(n));
            key.write(ValueName(n, names::kSlotShowMode), slots.showMode(n));
        } else if (action == kInsertText) {
            key.write(ValueName(n, names::kSlotInsertText), ToCrLf(slots.insertText(n)));
        }
    }
    key.close();
}

StoredSlotSettings ReadSlotSettings(SettingsStore& store, SlotModel& slots) {
    StoredSlotSettings stored;
    {
        SettingsKey key = OpenSettingsKey(store);
        auto read = [&](const std::string& name, std::string& cell) {
            try {
                cell = key.read(name);
            } catch (const BriskoError& e) {
                if (stored.readError.empty())
                    stored.readError = e.what();
                cell.clear();
            }
        };
        for (int n = 1; n <= kSlotCount; ++n)
            read(ValueName(n, names::kSlotAction), stored.row(n).action);
        for (int n = 1; n <= kSlotCount; ++n)
            read(ValueName(n, names::kSlotPathOrAddress), stored.row(n).a);
        for (int n = 1; n <= kSlotCount; ++n)
            read(ValueName(n, names::kSlotReserved), stored.row(n).b);
        for (int n = 1; n <= kSlotCount; ++n)
            read(ValueName(n, names::kSlotInsertText), stored.row(n).c);
        for (int n = 1; n <= kSlotCount; ++n)
            read(ValueName(n, names::kSlotShowMode), stored.row(n).aa);
    }
    for (StoredSlotSettings::Row& row : stored.rows) {
        if (row.action.empty())
            row.action = "0";
    }
    ApplySlotSettings(store, stored, slots, false);
    return stored;
}

void ApplySlotSettings(SettingsStore& store, const StoredSlotSettings& stored, SlotModel& slots,
                       bool withText) {
    std::optional<SettingsKey> key;  // opened only when a clean-up needs it
    for (int n = 1; n <= kSlotCount; ++n) {
        const StoredSlotSettings::Row& row = stored.row(n);
        if (row.action == "2") {
            slots.setAction(n, kCustomProgram);
            slots.setProgramPath(n, row.a);
            slots.setShowMode(n, row.aa);
        } else if (row.action == "18") {
            slots.setAction(n, kWebPage);
            slots.setWebAddress(n, row.a);
            slots.setShowMode(n, row.aa);
        } else if (row.action == "17") {
            if (withText) {
                slots.setAction(n, kInsertText);
                slots.setInsertText(n, FromCrLf(row.c));
            }
        } else {
            slots.setAction(n, ActionOrZero(row.action));
            if (!key)
                key.emplace(store, SettingsRoot::CurrentUser, kSettingsKeyPath, true);
            for (const char* suffix : {names::kSlotPathOrAddress, names::kSlotReserved,
                                       names::kSlotInsertText, names::kSlotShowMode})
                key->remove(ValueName(n, suffix));
        }
    }
    // The clean-up is housekeeping that the next start repeats: deletes that cannot be stored
    // (a full disk) are not worth an error box, and must never cost the slots just applied.
    if (key) {
        try {
            key->close();
        } catch (const BriskoError&) {
        }
    }
}

void ApplyStoredInsertTexts(const StoredSlotSettings& stored, SlotModel& slots) {
    for (int n = 1; n <= kSlotCount; ++n) {
        const StoredSlotSettings::Row& row = stored.row(n);
        if (row.action != "17")
            continue;
        slots.setAction(n, kInsertText);
        slots.setInsertText(n, FromCrLf(row.c));
    }
}

}  // namespace brisko
