#pragma once

#include <string>

namespace brisko::desktop {

/// The program's data directory (language files, pictures, help), found from where the running
/// executable lies. Worked out once at start; whoever needs it is handed the result.
std::string DataDirectory();

/// The same choice for a given executable path: "../share/brisko" beside the bin/ folder of an
/// installation (wherever it was unpacked), else a "data" folder next to the executable (the
/// build tree), else installDir.
std::string DataDirectoryFor(const std::string& executable, const std::string& installDir);

}  // namespace brisko::desktop
