#include "InstallationDirectory.h"

#include "SettingNames.h"

namespace brisko {

std::string InstallationDirectory(SettingsStore& store, const std::string& fallbackDataDir) {
    SettingsKey key = OpenSettingsKey(store);
    std::string path = key.read(setting_names::kPath);
    return path.empty() ? fallbackDataDir : path;
}

}  // namespace brisko
