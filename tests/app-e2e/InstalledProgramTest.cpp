// The program as a package installs it (DESTDIR into a scratch folder), started from there on
// a private desktop: it finds its pictures and language files in its own share/ folder and never
// opens a file of the source or build tree.
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "DesktopFixture.h"
#include "platform/linux/IniSettingsStore.h"

namespace brisko::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool Under(const std::string& path, const std::string& folder) {
    return path == folder || path.rfind(folder + "/", 0) == 0;
}

TEST_F(DesktopFixture, TheInstalledProgramUsesOnlyItsInstalledData) {
    const std::string root = path("root");
    const std::string source = fs::canonical(BRISKO_SOURCE_DIR).string();
    const std::string build = fs::canonical(BRISKO_BUILD_DIR).string();
    int status = -1;
    const std::string installLog = session->run(
        {"env", "DESTDIR=" + root, BRISKO_CMAKE, "--install", build, "--prefix", "/usr", "--strip"},
        &status);
    ASSERT_EQ(status, 0) << installLog;

    const std::string usr = root + "/usr";
    for (const char* file :
         {"bin/BRZ", "share/applications/brisko.desktop",
          "share/icons/hicolor/64x64/apps/brisko.png", "share/icons/hicolor/32x32/apps/brisko.png",
          "share/icons/hicolor/16x16/apps/brisko.png",
          "share/metainfo/org.orvalde.brisko.metainfo.xml"})
        EXPECT_TRUE(fs::is_regular_file(usr + "/" + file)) << file;
    // Everything under data/ ships (language files, pictures, help), the menu entry apart.
    for (const auto& entry : fs::recursive_directory_iterator(source + "/data")) {
        const std::string relative = fs::relative(entry.path(), source + "/data").string();
        if (entry.is_regular_file() && relative.rfind("desktop/", 0) != 0) {
            EXPECT_TRUE(fs::is_regular_file(usr + "/share/brisko/" + relative)) << relative;
        }
    }
    const std::string binary = X11Session::readFile(usr + "/bin/BRZ");
    EXPECT_EQ(binary.find(source), std::string::npos) << "the source tree's path is compiled in";
    EXPECT_EQ(binary.find(build), std::string::npos) << "the build tree's path is compiled in";

    {
        IniSettingsStore store(session->environment().at("XDG_CONFIG_HOME"));
        SettingsKey key = OpenSettingsKey(store);
        key.write("FirstStart", "Yes");
        key.write("Lang", "English");
        key.write("Style", "Luna");
        key.close();
    }
    const std::string files = path("files.log");
    const pid_t program =
        session->spawn({"strace", "-f", "-qq", "-e", "trace=%file", "-o", files, usr + "/bin/BRZ"},
                       {}, path("brisko.out"));
    const std::string data = fs::weakly_canonical(usr + "/share/brisko").string();
    // The language file is read at the first tick of the event loop; the main window, with
    // its pictures, is built when the splash ends.
    ASSERT_TRUE(X11Session::waitUntil(
        [&] {
            return X11Session::readFile(files).find("/English.lang\", O_RDONLY") !=
                       std::string::npos &&
                   !session->xdotool({"search", "--onlyvisible", "--name", "^Orvalde - Brisko$"})
                        .empty();
        },
        60s))
        << X11Session::readFile(path("brisko.out"));
    session->stop(program);

    const std::string log = X11Session::readFile(files);
    for (const char* file : {"English.lang", "images/splash.png", "images/02.JPG"}) {
        const std::regex success("\"" + data + "/" + file + "\", O_RDONLY[^)]*\\) = [0-9]");
        EXPECT_TRUE(std::regex_search(log, success)) << file << " not read from " << data;
    }
    // The path a call accesses is its first quoted argument (readlink's second is its answer).
    std::istringstream lines(log);
    std::string line;
    const std::regex accessed("^[0-9]+ +[a-z0-9_]+\\((?:AT_FDCWD, )?\"([^\"]*)\"");
    int calls = 0;
    while (std::getline(lines, line)) {
        std::smatch match;
        if (!std::regex_search(line, match, accessed))
            continue;
        ++calls;
        EXPECT_FALSE(Under(match[1], source) || Under(match[1], build)) << line;
    }
    EXPECT_GT(calls, 100) << "strace recorded too little to judge";
}

}  // namespace
}  // namespace brisko::testing
