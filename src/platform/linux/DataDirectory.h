#pragma once

#include <string>

namespace brisko::desktop {

/// The program's data directory (language files, pictures, help): the build tree's copy of
/// data/ when the executable runs from the build tree, else the installed location.
std::string DataDirectory();

/// The same choice for a given executable path; testable without moving binaries.
std::string DataDirectoryFor(const std::string& executable, const std::string& buildDir,
                             const std::string& installDir);

}  // namespace brisko::desktop
