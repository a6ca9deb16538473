#include "DataDirectory.h"

#include <filesystem>
#include <system_error>

namespace brisko::desktop {

namespace fs = std::filesystem;

std::string DataDirectoryFor(const std::string& executable, const std::string& installDir) {
    if (executable.empty())
        return installDir;
    std::error_code error;
    const fs::path folder = fs::path(executable).parent_path();
    for (const fs::path& candidate : {folder.parent_path() / "share" / "brisko", folder / "data"}) {
        if (fs::is_directory(candidate, error))
            return fs::weakly_canonical(candidate, error).string();
    }
    return installDir;
}

std::string DataDirectory() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    return DataDirectoryFor(error ? std::string() : exe.string(), BRISKO_DATA_INSTALL_DIR);
}

}  // namespace brisko::desktop
