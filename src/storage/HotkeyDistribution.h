#pragma once

#include <string>
#include <string_view>

#include "hotkeys/HotkeySlot.h"

namespace brisko {

/// The file extension of hotkey distribution files.
inline constexpr const char* kHotkeyDistributionExtension = "hkv";

/// The distribution as file text (UTF-8, lines ended by CR LF): per slot the action index,
/// followed by the program path for action 2 or the web address for action 18.
std::string FormatHotkeyDistribution(const SlotModel& slots);

/// Reads a distribution from the raw bytes of a file into the slots: actions, program paths of
/// slots loaded with 2, web addresses of slots loaded with 18; nothing else is touched. An index
/// line that is not an integer raises "'%s' ist kein gültiger Integerwert"; the slots before it
/// keep their new values, that slot and the following ones their old ones.
void ReadHotkeyDistribution(std::string_view fileBytes, SlotModel& slots);

/// Writes the distribution to a file, replacing it atomically. Raises the file error messages
/// ("Dateizugriff verweigert", ...); a failed save leaves an existing file as it was.
void SaveHotkeyDistribution(const std::string& path, const SlotModel& slots);

/// Loads a distribution file into the slots. Raises the file error messages
/// ("Datei nicht gefunden", ...) and the conversion error of ReadHotkeyDistribution.
void LoadHotkeyDistribution(const std::string& path, SlotModel& slots);

/// Sets every action to 0 and empties every program path and web address; show modes and
/// insert texts are left as they are.
void DeleteAllHotkeys(SlotModel& slots);

}  // namespace brisko
