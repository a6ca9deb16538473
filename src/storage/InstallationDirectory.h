#pragma once

#include <string>

#include "SettingsStore.h"

namespace brisko {

/// The folder that holds the program's pictures and language files: the settings value "Path"
/// (set at installation, never written by the program), or fallbackDataDir when that value is
/// missing or empty. Raises the store's error for a value that is not a string.
std::string InstallationDirectory(SettingsStore& store, const std::string& fallbackDataDir);

}  // namespace brisko
