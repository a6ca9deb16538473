// Figures of the whole program BRZ on private X servers:
//  - idle CPU over N seconds with all eleven keys bound, main window shown and hidden in the
//    tray, beside an empty Qt program ticking at the same 16 ms, all in the same run;
//  - resident memory shown and hidden, beside a bare Qt GUI (a shown main window with a menu
//    bar and eleven combo boxes) in the same run, and the growth that a 5 MB insert text
//    brings;
//  - time from exec to all eleven keys grabbed, in the designed look and in "Luna".
// Usage: bench_program [seconds] [other BRZ]   (default 30 s). With another build of the
// program (for example the one before a change) both are measured side by side.
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ProcessStats.h"
#include "X11Session.h"
#include "platform/linux/IniSettingsStore.h"

using brisko::testing::X11Session;
using Clock = std::chrono::steady_clock;

using brisko::bench::CpuNs;
using brisko::bench::ResidentKb;

namespace {

constexpr double kShownGoal = 1.2;          // x the bare Qt GUI
constexpr long long kHiddenGoalKb = 32768;  // 32 MB
constexpr double kTextGoal = 4.0;           // growth per byte of stored text
constexpr std::size_t kTextBytes = 5'000'000;

void WriteSettings(X11Session& session, std::map<std::string, std::string> values) {
    brisko::IniSettingsStore store(session.environment().at("XDG_CONFIG_HOME"));
    brisko::SettingsKey key = brisko::OpenSettingsKey(store);
    for (int n = 1; n <= 11; ++n)
        values.emplace("F" + std::to_string(n), "8");  // Copy: bound, nothing to start
    for (const auto& [name, value] : values)
        key.write(name, value);
    key.close();
}

// A long letter of 5 MB in lines of 80 characters, as a user pastes one.
std::string LongText() {
    const std::string line =
        "Sehr geehrte Damen und Herren, dies ist ein langer Beispieltext zum Einfuegen.";
    std::string text;
    text.reserve(kTextBytes + line.size() + 2);
    while (text.size() < kTextBytes)
        text += line + "\r\n";
    text.resize(kTextBytes);
    return text;
}

// A copy of a build of the program under a name of its own: stopping it ends the session for
// every process of its executable name, and no other copy of Brisko may be among them.
struct ProgramCopy {
    std::filesystem::path file;
    explicit ProgramCopy(const std::string& program, const std::string& tag) {
        namespace fs = std::filesystem;
        file = fs::path(BRISKO_BENCH_BIN_DIR) /
               ("BRZ-bench-" + tag + "-" + std::to_string(::getpid()));
        fs::create_directories(file.parent_path());
        fs::copy_file(program, file, fs::copy_options::overwrite_existing);
    }
    ~ProgramCopy() {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
};

// True when another client holds every bare F1..F11 (a test grab of ours fails).
bool AllKeysHeld(xcb_connection_t* c, xcb_window_t root, xcb_key_symbols_t* symbols) {
    for (int n = 1; n <= 11; ++n) {
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, 0xFFBE + n - 1);  // XK_F1..
        if (!codes)
            return false;
        const xcb_keycode_t code = codes[0];
        std::free(codes);
        xcb_generic_error_t* error = xcb_request_check(
            c, xcb_grab_key_checked(c, 0, root, 0, code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        if (!error) {
            xcb_ungrab_key(c, code, root, 0);
            xcb_flush(c);
            return false;
        }
        std::free(error);
    }
    return true;
}

// Milliseconds from exec to all keys grabbed; -1 on failure.
double TimeToGrab(const std::string& program, const std::string& style) {
    X11Session::Options options;
    options.systemBus = false;
    X11Session session(options);
    WriteSettings(session, {{"FirstStart", "Yes"}, {"Style", style}});
    xcb_connection_t* c = xcb_connect(session.display().c_str(), nullptr);
    if (xcb_connection_has_error(c))
        return -1;
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(c);
    const auto start = Clock::now();
    session.spawn({program});
    double ms = -1;
    while (Clock::now() - start < std::chrono::seconds(15)) {
        if (AllKeysHeld(c, root, symbols)) {
            ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    xcb_key_symbols_free(symbols);
    xcb_disconnect(c);
    return ms;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

struct Memory {
    long long resident = -1;
    long long anonymous = -1;
};

Memory MemoryOf(pid_t pid) {
    return {ResidentKb(pid), brisko::bench::StatusKb(pid, "RssAnon")};
}

// One build of the program: shown and hidden on two desktops, measured over the same window.
struct Run {
    std::string name;
    std::string program;
    std::unique_ptr<X11Session> shownDesktop;
    std::unique_ptr<X11Session> hiddenDesktop;
    pid_t shown = 0;
    pid_t hidden = 0;
    long long shownStart = 0;
    long long hiddenStart = 0;
    double shownCpu = 0;
    double hiddenCpu = 0;
    Memory shownMemory;
    Memory hiddenMemory;
};

std::unique_ptr<X11Session> Desktop() {
    X11Session::Options options;
    options.systemBus = false;
    return std::make_unique<X11Session>(options);
}

// Resident memory of the program shown with a 5 MB insert text in slot F1.
Memory WithLongText(const std::string& program) {
    auto desktop = Desktop();
    WriteSettings(*desktop, {{"FirstStart", "Yes"}, {"F1", "17"}, {"F1c", LongText()}});
    const pid_t pid = desktop->spawn({program});
    std::this_thread::sleep_for(std::chrono::seconds(6));  // past the 2.6 s full restore
    return MemoryOf(pid);
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    std::vector<std::unique_ptr<ProgramCopy>> copies;
    std::vector<Run> runs(argc > 2 ? 2 : 1);
    copies.push_back(std::make_unique<ProgramCopy>(BRISKO_PROGRAM, "this"));
    runs[0].name = "BRZ";
    runs[0].program = copies.back()->file.string();
    if (argc > 2) {
        copies.push_back(std::make_unique<ProgramCopy>(argv[2], "other"));
        runs[1].name = "other";
        runs[1].program = copies.back()->file.string();
    }

    // Idle: per build one desktop with the shown program and one with the hidden program; the
    // floors run beside the first shown program.
    for (Run& run : runs) {
        run.shownDesktop = Desktop();
        run.hiddenDesktop = Desktop();
        WriteSettings(*run.shownDesktop, {{"FirstStart", "Yes"}});
        WriteSettings(*run.hiddenDesktop, {{"FirstStart", "Yes"}});
        run.hiddenDesktop->spawn({"tint2"});
        run.shown = run.shownDesktop->spawn({run.program});
        run.hidden = run.hiddenDesktop->spawn({run.program, "-autostart"});
    }
    X11Session& floorDesktop = *runs[0].shownDesktop;
    const pid_t floor = floorDesktop.spawn({BRISKO_IDLE_FLOOR});
    const pid_t bareGui = floorDesktop.spawn({BRISKO_IDLE_FLOOR, "--window"});
    std::this_thread::sleep_for(std::chrono::seconds(5));  // past the 2.6 s start-up steps

    for (Run& run : runs) {
        run.shownStart = CpuNs(run.shown);
        run.hiddenStart = CpuNs(run.hidden);
    }
    const long long floorStart = CpuNs(floor);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double window = 1e9 * seconds;
    for (Run& run : runs) {
        run.shownCpu = 100.0 * double(CpuNs(run.shown) - run.shownStart) / window;
        run.hiddenCpu = 100.0 * double(CpuNs(run.hidden) - run.hiddenStart) / window;
    }
    const double floorCpu = 100.0 * double(CpuNs(floor) - floorStart) / window;
    for (Run& run : runs) {
        run.shownMemory = MemoryOf(run.shown);
        run.hiddenMemory = MemoryOf(run.hidden);
    }
    const Memory floorMemory = MemoryOf(floor);
    const Memory bareMemory = MemoryOf(bareGui);
    for (Run& run : runs) {
        run.shownDesktop.reset();
        run.hiddenDesktop.reset();
    }

    auto ratio = [](double value, double base) { return base > 0 ? value / base : 0.0; };
    std::printf(
        "idle CPU over %d s, 11 keys bound (%% of one core); resident and anonymous "
        "memory (kB)\n",
        seconds);
    for (const Run& run : runs) {
        std::printf(
            "%-6s main window shown    %5.2f %%  %4.2f x floor  resident %6lld  anon "
            "%6lld  %4.2f x bare Qt GUI (goal <= %.1f)\n",
            run.name.c_str(), run.shownCpu, ratio(run.shownCpu, floorCpu), run.shownMemory.resident,
            run.shownMemory.anonymous,
            ratio(double(run.shownMemory.resident), double(bareMemory.resident)), kShownGoal);
        std::printf(
            "%-6s hidden in the tray   %5.2f %%  %4.2f x floor  resident %6lld  anon "
            "%6lld  (goal <= %lld)\n",
            run.name.c_str(), run.hiddenCpu, ratio(run.hiddenCpu, floorCpu),
            run.hiddenMemory.resident, run.hiddenMemory.anonymous, kHiddenGoalKb);
    }
    std::printf("empty Qt, 16 ms timer       %5.2f %%                resident %6lld  anon %6lld\n",
                floorCpu, floorMemory.resident, floorMemory.anonymous);
    std::printf("bare Qt GUI, menu bar and 11 combo boxes    resident %6lld  anon %6lld\n",
                bareMemory.resident, bareMemory.anonymous);

    for (const Run& run : runs) {
        const Memory text = WithLongText(run.program);
        const double growth = double(text.resident - run.shownMemory.resident) * 1024.0;
        std::printf(
            "%-6s 5 MB insert text in F1, shown: resident %lld kB, growth %.2f x the "
            "text (goal <= %.0f)\n",
            run.name.c_str(), text.resident, growth / double(kTextBytes), kTextGoal);
    }

    for (const Run& run : runs) {
        std::vector<double> blue, luna;
        for (int i = 0; i < 5; ++i) {
            blue.push_back(TimeToGrab(run.program, "Blue"));
            luna.push_back(TimeToGrab(run.program, "Luna"));
        }
        std::printf("%-6s exec to all keys grabbed, median of 5: Blue %.0f ms, Luna %.0f ms\n",
                    run.name.c_str(), Median(blue), Median(luna));
    }
    return 0;
}
