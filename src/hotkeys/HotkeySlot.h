#pragma once

#include <array>
#include <optional>
#include <string>

namespace brisko {

/// Number of hotkey slots: F1 .. F11 (F12 is never a slot).
inline constexpr int kSlotCount = 11;

/// The action catalogue. The index is the stored form and what the dispatcher tests.
enum class ActionKind : int {
    Nothing = 0,
    MinimizeAll = 1,
    CustomProgram = 2,
    DisplayProperties = 3,
    DateTime = 4,
    EbaySearch = 5,
    Paste = 6,
    GoogleSearch = 7,
    Copy = 8,
    RegionalSettings = 9,
    MultimediaOptions = 10,
    CloseProgram = 11,
    SoftwareDialog = 12,
    SearchDialog = 13,
    StartMenu = 14,
    SystemProperties = 15,
    ControlPanel = 16,
    InsertText = 17,
    WebPage = 18,
    Shutdown = 19,
    Restart = 20,
    LogOff = 21,
};

inline constexpr int kActionCount = 22;
/// The action index meaning "nothing selected in the slot's list".
inline constexpr int kNoAction = -1;

/// Built-in German captions of the action list, in catalogue order.
extern const std::array<const char*, kActionCount> kActionCaptions;

/// Show mode texts: the decimal form of the show command.
namespace ShowMode {
inline constexpr const char* Normal = "1";
inline constexpr const char* Maximized = "3";
inline constexpr const char* Minimized = "2";
}  // namespace ShowMode

/// Fixed per-slot mappings. Slot numbers are 1..11.
inline constexpr bool IsSlot(int slot) {
    return slot >= 1 && slot <= kSlotCount;
}
std::string SlotKeyName(int slot);  // "F1" .. "F11"
inline constexpr int SlotVirtualKey(int slot) {
    return 111 + slot;
}
inline constexpr int SlotHotkeyId(int slot) {
    return 254 + slot;
}
/// The slot a hotkey id belongs to; none for ids outside 255..265.
inline constexpr std::optional<int> SlotForHotkeyId(int id) {
    if (id >= 255 && id <= 265)
        return id - 254;
    return std::nullopt;
}
inline constexpr bool IsCatalogueAction(int action) {
    return action >= 0 && action < kActionCount;
}

/// One slot's values.
struct HotkeySlot {
    int action = kNoAction;
    std::string programPath;
    std::string showMode = ShowMode::Normal;
    std::string webAddress;
    std::string insertText;
};

/// The eleven slots: the one current copy that every reader consults when it reads.
class SlotModel {
public:
    SlotModel() = default;

    /// The action index; −1 when nothing is selected.
    int action(int slot) const { return at(slot).action; }
    /// Sets the action. An index outside the catalogue leaves nothing selected (−1), as the
    /// slot's action list would.
    void setAction(int slot, int action);

    const std::string& programPath(int slot) const { return at(slot).programPath; }
    void setProgramPath(int slot, std::string path) {
        assign(slot, &HotkeySlot::programPath, std::move(path));
    }
    const std::string& showMode(int slot) const { return at(slot).showMode; }
    void setShowMode(int slot, std::string mode) {
        assign(slot, &HotkeySlot::showMode, std::move(mode));
    }
    const std::string& webAddress(int slot) const { return at(slot).webAddress; }
    void setWebAddress(int slot, std::string address) {
        assign(slot, &HotkeySlot::webAddress, std::move(address));
    }
    const std::string& insertText(int slot) const { return at(slot).insertText; }
    void setInsertText(int slot, std::string text) {
        assign(slot, &HotkeySlot::insertText, std::move(text));
    }

    const HotkeySlot& slot(int slot) const { return at(slot); }

    /// Sets every action to 0 and empties every program path and web address; show modes and
    /// insert texts are left alone.
    void deleteAll();

    /// Counts the changes of all slots; a write of the value a slot already holds is none.
    /// Readers that mirror the model compare it to skip idle work.
    unsigned long long revision() const { return revision_; }
    /// Counts the changes of one slot.
    unsigned long long revision(int slot) const { return slotRevisions_[index(slot)]; }

private:
    static std::size_t index(int slot);
    const HotkeySlot& at(int slot) const { return slots_[index(slot)]; }
    void changed(int slot);
    void assign(int slot, std::string HotkeySlot::*field, std::string value);

    std::array<HotkeySlot, kSlotCount> slots_{};
    std::array<unsigned long long, kSlotCount> slotRevisions_{};
    unsigned long long revision_ = 0;
};

}  // namespace brisko
