#include "DataDirectory.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace brisko::desktop {

namespace fs = std::filesystem;

std::string DataDirectoryFor(const std::string& executable, const std::string& buildDir,
                             const std::string& installDir) {
    std::error_code error;
    const fs::path exe = fs::weakly_canonical(executable, error);
    const fs::path build = fs::weakly_canonical(buildDir, error);
    if (!exe.empty() && !build.empty()) {
        const auto [buildEnd, exeAt] =
            std::mismatch(build.begin(), build.end(), exe.begin(), exe.end());
        if (buildEnd == build.end() && fs::is_directory(build / "data", error))
            return (build / "data").string();
    }
    return installDir;
}

std::string DataDirectory() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    return DataDirectoryFor(error ? std::string() : exe.string(), BRISKO_BUILD_DIR,
                            BRISKO_DATA_INSTALL_DIR);
}

}  // namespace brisko::desktop
