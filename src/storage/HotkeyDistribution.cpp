#include "HotkeyDistribution.h"

#include "TextFile.h"
#include "hotkeys/BriskoError.h"

namespace brisko {

namespace {

constexpr int kCustomProgram = static_cast<int>(ActionKind::CustomProgram);
constexpr int kWebPage = static_cast<int>(ActionKind::WebPage);

// A line break inside a field would shift every following record, and a Ctrl+Z would end the
// file for the reader, so neither can be written.
std::string SingleLine(const std::string& text) {
    std::string line;
    line.reserve(text.size());
    for (char c : text) {
        if (c == '\r' || c == '\n' || c == '\x1A')
            continue;
        line += c;
    }
    return line;
}

}  // namespace

std::string FormatHotkeyDistribution(const SlotModel& slots) {
    std::string text;
    for (int n = 1; n <= kSlotCount; ++n) {
        int action = slots.action(n);
        text += std::to_string(action) + "\r\n";
        if (action == kCustomProgram)
            text += SingleLine(slots.programPath(n)) + "\r\n";
        if (action == kWebPage)
            text += SingleLine(slots.webAddress(n)) + "\r\n";
    }
    return text;
}

void ReadHotkeyDistribution(std::string_view fileBytes, SlotModel& slots) {
    TextLineReader lines(DecodeFileText(fileBytes));
    for (int n = 1; n <= kSlotCount; ++n) {
        std::string index = lines.next();
        slots.setAction(n, StrToInt(index));
        // The text decides whether a second line follows: "02" selects action 2 without one.
        if (index == "2")
            slots.setProgramPath(n, lines.next());
        if (index == "18")
            slots.setWebAddress(n, lines.next());
    }
}

void SaveHotkeyDistribution(const std::string& path, const SlotModel& slots) {
    WriteFileAtomically(path, EncodeFileText(FormatHotkeyDistribution(slots)));
}

void LoadHotkeyDistribution(const std::string& path, SlotModel& slots) {
    ReadHotkeyDistribution(ReadTextFileStart(path, kTextFileReadLimit), slots);
}

void DeleteAllHotkeys(SlotModel& slots) {
    slots.deleteAll();
}

}  // namespace brisko
