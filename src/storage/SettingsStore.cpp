#include "SettingsStore.h"

#include <algorithm>
#include <cctype>

namespace brisko {

std::string NormalizeKeyPath(const std::string& path) {
    std::string::size_type first = path.find_first_not_of('\\');
    if (first == std::string::npos)
        return {};
    std::string::size_type last = path.find_last_not_of('\\');
    return path.substr(first, last - first + 1);
}

bool SameKeyPath(const std::string& a, const std::string& b) {
    std::string x = NormalizeKeyPath(a);
    std::string y = NormalizeKeyPath(b);
    return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](char p, char q) {
        return std::tolower(static_cast<unsigned char>(p)) ==
               std::tolower(static_cast<unsigned char>(q));
    });
}

}  // namespace brisko
