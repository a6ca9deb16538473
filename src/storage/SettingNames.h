#pragma once

// The names of the values under the settings key. Whoever reads or writes one uses these
// constants, so every reader and writer agrees on each name.

namespace brisko::setting_names {

inline constexpr const char* kStyle = "Style";            // interface style
inline constexpr const char* kLanguage = "Lang";          // interface language
inline constexpr const char* kWelcome = "Willkommen";     // welcome page at start
inline constexpr const char* kFirstStart = "FirstStart";  // first-start notice seen
inline constexpr const char* kPath = "Path";              // installation directory

/// A slot's values are named after its key ("F1" .. "F11") followed by one of these.
inline constexpr const char* kSlotAction = "";
inline constexpr const char* kSlotPathOrAddress = "a";
inline constexpr const char* kSlotReserved = "b";
inline constexpr const char* kSlotInsertText = "c";
inline constexpr const char* kSlotShowMode = "aa";

}  // namespace brisko::setting_names
