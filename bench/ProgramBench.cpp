// Figures of the whole program BRZ on private X servers:
//  - idle CPU over N seconds with all eleven keys bound, main window shown and hidden in the
//    tray, beside an empty Qt program ticking at the same 16 ms, all in the same run;
//  - resident memory;
//  - time from exec to all eleven keys grabbed, in the designed look and in "Luna".
// Usage: bench_program [seconds]   (default 30)
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

// A copy of the program under a name of its own: stopping it ends the session for every
// process of its executable name, and no other copy of Brisko may be among them.
std::string g_program;

void WriteSettings(X11Session& session, const std::map<std::string, std::string>& values) {
    brisko::IniSettingsStore store(session.environment().at("XDG_CONFIG_HOME"));
    brisko::SettingsKey key = brisko::OpenSettingsKey(store);
    for (const auto& [name, value] : values)
        key.write(name, value);
    for (int n = 1; n <= 11; ++n)
        key.write("F" + std::to_string(n), "8");  // Copy: bound, nothing to start
    key.close();
}

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
double TimeToGrab(const std::string& style) {
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
    session.spawn({g_program});
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

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    namespace fs = std::filesystem;
    const fs::path copy =
        fs::path(BRISKO_BENCH_BIN_DIR) / ("BRZ-bench-" + std::to_string(::getpid()));
    fs::create_directories(copy.parent_path());
    fs::copy_file(BRISKO_PROGRAM, copy, fs::copy_options::overwrite_existing);
    g_program = copy.string();
    struct Remove {
        fs::path file;
        ~Remove() {
            std::error_code ignored;
            fs::remove(file, ignored);
        }
    } remove{copy};

    // Idle: one desktop with the shown program and the floor, one with the hidden program.
    X11Session::Options options;
    options.systemBus = false;
    X11Session shownDesktop(options);
    X11Session hiddenDesktop(options);
    WriteSettings(shownDesktop, {{"FirstStart", "Yes"}});
    WriteSettings(hiddenDesktop, {{"FirstStart", "Yes"}});
    hiddenDesktop.spawn({"tint2"});
    const pid_t shown = shownDesktop.spawn({g_program});
    const pid_t hidden = hiddenDesktop.spawn({g_program, "-autostart"});
    const pid_t floor = shownDesktop.spawn({BRISKO_IDLE_FLOOR});
    std::this_thread::sleep_for(std::chrono::seconds(5));  // past the 2.6 s start-up steps

    const long long shownStart = CpuNs(shown), hiddenStart = CpuNs(hidden),
                    floorStart = CpuNs(floor);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double window = 1e9 * seconds;
    const double shownCpu = 100.0 * double(CpuNs(shown) - shownStart) / window;
    const double hiddenCpu = 100.0 * double(CpuNs(hidden) - hiddenStart) / window;
    const double floorCpu = 100.0 * double(CpuNs(floor) - floorStart) / window;

    std::printf("BRZ idle CPU over %d s, 11 keys bound (%% of one core)\n", seconds);
    std::printf("BRZ, main window shown    %5.2f %%   %4.2f x floor   resident %lld kB\n", shownCpu,
                floorCpu > 0 ? shownCpu / floorCpu : 0.0, ResidentKb(shown));
    std::printf("BRZ, hidden in the tray   %5.2f %%   %4.2f x floor   resident %lld kB\n",
                hiddenCpu, floorCpu > 0 ? hiddenCpu / floorCpu : 0.0, ResidentKb(hidden));
    std::printf("empty Qt, 16 ms timer     %5.2f %%                 resident %lld kB\n", floorCpu,
                ResidentKb(floor));

    std::vector<double> blue, luna;
    for (int i = 0; i < 5; ++i) {
        blue.push_back(TimeToGrab("Blue"));
        luna.push_back(TimeToGrab("Luna"));
    }
    std::printf("exec to all keys grabbed, median of 5: Blue %.0f ms, Luna %.0f ms\n", Median(blue),
                Median(luna));
    return 0;
}
