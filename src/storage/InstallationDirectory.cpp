#include "InstallationDirectory.h"

namespace brisko {

std::string InstallationDirectory(SettingsStore& store, const std::string& fallbackDataDir) {
    SettingsKey key = OpenSettingsKey(store);
    std::string path = key.read("Path");
    return path.empty() ? fallbackDataDir : path;
}

}  // namespace brisko
