// A day of use in a few minutes: the whole program BRZ on a private desktop (Xvfb, openbox,
// tint2 as the tray, private buses) driven at random with hotkey presses, slot edits in the
// action lists, the options dialog (style, language, welcome page, autostart) and hiding into
// the tray and showing again. Prints resident memory and open files at the start and the end
// beside their floors (growth at most 10 % or 3 MB, no open file more), and exits non-zero
// when either grew or the program died.
// Usage: bench_day_of_use [minutes]   (default 10)
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ProcessStats.h"
#include "X11Session.h"
#include "platform/linux/IniSettingsStore.h"

using brisko::bench::ResidentKb;
using brisko::testing::X11Session;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr const char* kMainTitle = "Orvalde - Brisko";

int OpenFiles(pid_t pid) {
    int count = 0;
    if (DIR* dir = ::opendir(("/proc/" + std::to_string(pid) + "/fd").c_str())) {
        while (dirent* entry = ::readdir(dir))
            count += entry->d_name[0] != '.';
        ::closedir(dir);
    }
    return count;
}

class Day {
public:
    Day(X11Session& session, std::string program) : s_(session), program_(std::move(program)) {}

    std::string visible(const std::string& title) {
        std::istringstream ids(
            s_.xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"}));
        std::string id;
        std::getline(ids, id);
        return id;
    }
    bool waitVisible(const std::string& title, bool shown = true) {
        return X11Session::waitUntil([&] { return visible(title).empty() != shown; }, 10s);
    }
    void activate(const std::string& window) {
        s_.xdotool({"windowactivate", "--sync", window});
        X11Session::waitUntil([&] { return s_.xdotool({"getactivewindow"}).find(window) == 0; },
                              3s);
    }
    void click(const std::string& window, int x, int y, const char* button = "1") {
        s_.xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y)});
        s_.xdotool({"click", button});
    }
    void key(const std::string& keys) { s_.xdotool({"key", keys}); }

    // The program's icon in the tray: its small window of the program's class.
    std::string trayIcon() {
        std::istringstream ids(s_.xdotool({"search", "--onlyvisible", "--classname", program_}));
        for (std::string id; std::getline(ids, id);) {
            const std::string geometry = s_.xdotool({"getwindowgeometry", id});
            int width = 0, height = 0;
            const auto at = geometry.find("Geometry: ");
            if (at != std::string::npos &&
                std::sscanf(geometry.c_str() + at + 10, "%dx%d", &width, &height) == 2 &&
                width > 1 && height > 1 && width <= 64 && height <= 64)
                return id;
        }
        return {};
    }

    // Message boxes of the program (titled "Brisko") are answered and counted.
    int answerMessages() {
        int answered = 0;
        for (std::string box; !(box = visible("Brisko")).empty() && answered < 5; ++answered) {
            activate(box);
            key("Return");
            X11Session::waitUntil([&] { return visible("Brisko") != box; }, 2s);
        }
        return answered;
    }

private:
    X11Session& s_;
    std::string program_;
};

}  // namespace

int main(int argc, char** argv) {
    const double minutes = argc > 1 ? std::atof(argv[1]) : 10.0;
    X11Session session;
    const std::string name = "BRZ-day-" + std::to_string(::getpid());
    const fs::path copy = fs::path(BRISKO_BENCH_BIN_DIR) / name;
    fs::create_directories(copy.parent_path());
    fs::copy_file(BRISKO_PROGRAM, copy, fs::copy_options::overwrite_existing);

    {
        brisko::IniSettingsStore store(session.environment().at("XDG_CONFIG_HOME"));
        brisko::SettingsKey key = brisko::OpenSettingsKey(store);
        key.write("FirstStart", "Yes");
        key.write("Willkommen", "Nein");
        // Only actions that stay on this desktop: programs, texts, copy, the recorded opener.
        for (int n = 1; n <= 11; ++n) {
            const std::string f = "F" + std::to_string(n);
            const int action = std::vector<int>{2, 8, 17, 18}[n % 4];
            key.write(f, std::to_string(action));
            key.write(f + "a", action == 18 ? "https://example.org/" + f : "/bin/true");
            key.write(f + "aa", "1");
            key.write(f + "c", "Text " + f);
        }
        key.close();
    }
    session.spawn({"tint2"});
    session.spawn({BRISKO_TEXT_WINDOW, "--title", "Notes", "--out", session.dir() + "/notes.txt"});
    const pid_t brisko = session.spawn({copy.string()}, {}, session.dir() + "/brisko.out");
    Day day(session, name);
    // The tray icon appears only while the window is hidden.
    if (!day.waitVisible(kMainTitle) || !day.waitVisible("Notes")) {
        std::fprintf(stderr, "the program or the text window did not appear\n");
        return 2;
    }

    std::mt19937 random(std::random_device{}());
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    std::map<std::string, int> done;
    bool hidden = false;
    long long startKb = -1, maxKb = 0;
    int startFiles = -1, maxFiles = 0, messages = 0;
    const auto begin = Clock::now();
    const auto warmUp = begin + std::chrono::duration_cast<Clock::duration>(
                                    std::chrono::duration<double>(minutes * 60 / 10));
    const auto end = begin + std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(minutes * 60));
    auto nextSample = begin;
    std::printf("%8s %10s %6s %8s\n", "seconds", "resident", "files", "actions");
    while (Clock::now() < end) {
        if (session.hasExited(brisko)) {
            std::fprintf(stderr, "the program ended: %s\n",
                         X11Session::readFile(session.dir() + "/brisko.out").c_str());
            return 1;
        }
        const int op = pick(20);
        const std::string window = day.visible(kMainTitle);
        if (op < 11) {
            day.activate(day.visible("Notes"));
            day.key("F" + std::to_string(1 + pick(11)));
            ++done["hotkeys"];
        } else if (op < 15 && !hidden && !window.empty()) {
            // An action list opened with the mouse; from the top, a letter picks an action.
            day.activate(window);
            day.click(window, 100, 122 + 32 * pick(11));
            std::this_thread::sleep_for(300ms);
            static const char* const kLetters[] = {"parenleft", "b", "k", "t", "w"};
            day.key("Home");
            day.key(kLetters[pick(5)]);
            day.key("Return");
            ++done["slot edits"];
        } else if (op < 17 && !hidden && !window.empty()) {
            day.activate(window);
            day.key("alt+e");
            std::this_thread::sleep_for(200ms);
            day.key("o");
            if (day.waitVisible("Optionen")) {
                const std::string options = day.visible("Optionen");
                day.activate(options);
                for (int i = pick(4); i > 0; --i)
                    day.key("ctrl+Tab");
                for (int i = 1 + pick(3); i > 0; --i)
                    day.key("Tab");
                day.key(pick(2) ? "space" : "Down");
                day.click(options, 260, 366);  // "Speichern"
                day.waitVisible("Optionen", false);
                ++done["options"];
            }
        } else if (!hidden && !window.empty()) {
            day.activate(window);
            day.click(window, 412, 45);  // "Verstecken"
            hidden = day.waitVisible(kMainTitle, false);
            ++done["hide"];
        } else if (hidden) {
            const std::string icon = day.trayIcon();
            if (!icon.empty()) {
                session.xdotool({"mousemove", "--window", icon, "4", "4"});
                session.xdotool({"click", "--repeat", "2", "--delay", "80", "1"});
                hidden = !day.waitVisible(kMainTitle);
                ++done["show"];
            }
        }
        messages += day.answerMessages();

        if (Clock::now() >= nextSample) {
            const long long kb = ResidentKb(brisko);
            const int files = OpenFiles(brisko);
            if (startKb < 0 && Clock::now() >= warmUp) {
                startKb = kb;
                startFiles = files;
            }
            maxKb = std::max(maxKb, kb);
            maxFiles = std::max(maxFiles, files);
            int actions = 0;
            for (const auto& [what, count] : done)
                actions += count;
            std::printf("%8.0f %7.1f MB %6d %8d\n",
                        std::chrono::duration<double>(Clock::now() - begin).count(), kb / 1024.0,
                        files, actions);
            std::fflush(stdout);
            nextSample = Clock::now() + 30s;
        }
    }
    const long long endKb = ResidentKb(brisko);
    const int endFiles = OpenFiles(brisko);
    session.stop(brisko);
    std::error_code ignored;
    fs::remove(copy, ignored);

    std::printf("\nactions:");
    for (const auto& [what, count] : done)
        std::printf(" %s %d,", what.c_str(), count);
    std::printf(" message boxes answered %d; web pages opened %zu, text typed %zu bytes\n",
                messages, session.recorded("xdg-open").size(),
                X11Session::readFile(session.dir() + "/notes.txt").size());
    const long long allowedKb = std::max(startKb / 10, 3 * 1024LL);
    std::printf(
        "resident after warm-up %.1f MB, at the end %.1f MB, highest %.1f MB; growth "
        "%+.1f MB (floor: at most %+.1f MB)\n",
        startKb / 1024.0, endKb / 1024.0, maxKb / 1024.0, (endKb - startKb) / 1024.0,
        allowedKb / 1024.0);
    std::printf(
        "open files after warm-up %d, at the end %d, highest %d (floor: no more at the end)\n",
        startFiles, endFiles, maxFiles);
    const bool ok = endKb - startKb <= allowedKb && endFiles <= startFiles;
    std::printf("%s\n", ok ? "no growth" : "GROWTH");
    return ok ? 0 : 1;
}
