// Key press → started program, measured on a private X server for Brisko's backend (the
// hotkey driver) with the program's path and with a desktop entry that starts it, and, in the
// same run, for sxhkd bound to the same key and program.
// Usage: bench_hotkey_latency [presses]   (default 200)
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Stamps.h"
#include "X11Session.h"

using brisko::testing::X11Session;
using namespace std::chrono_literals;
using brisko::bench::NowNs;
using brisko::bench::ReadStamp;

namespace {

class Presser {
public:
    explicit Presser(const std::string& display) {
        connection_ = xcb_connect(display.c_str(), nullptr);
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection_);
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, 0xffc2);  // F5
        keycode_ = codes ? codes[0] : 0;
        std::free(codes);
        xcb_key_symbols_free(symbols);
    }
    ~Presser() { xcb_disconnect(connection_); }
    bool ok() const { return !xcb_connection_has_error(connection_) && keycode_ != 0; }
    void press() {
        xcb_test_fake_input(connection_, XCB_KEY_PRESS, keycode_, XCB_CURRENT_TIME, XCB_NONE, 0, 0,
                            0);
        xcb_test_fake_input(connection_, XCB_KEY_RELEASE, keycode_, XCB_CURRENT_TIME, XCB_NONE, 0,
                            0, 0);
        xcb_flush(connection_);
    }

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_keycode_t keycode_ = 0;
};

void Drain(int fifo) {
    while (ReadStamp(fifo, 50) >= 0) {
    }
}

struct Figures {
    double min = 0, p50 = 0, p99 = 0;
    int missed = 0;
};

// Appends one latency per press, in milliseconds; returns the presses that started nothing.
int Measure(Presser& presser, int fifo, int presses, std::vector<double>& ms) {
    int missed = 0;
    for (int i = 0; i < presses; ++i) {
        const long long start = NowNs();
        presser.press();
        const long long stamp = ReadStamp(fifo, 2000);
        if (stamp < 0) {
            ++missed;
            continue;
        }
        ms.push_back(static_cast<double>(stamp - start) / 1e6);
        std::this_thread::sleep_for(15ms);
    }
    return missed;
}

Figures Summarise(std::vector<double> ms, int missed) {
    Figures f;
    f.missed = missed;
    if (ms.empty())
        return f;
    std::sort(ms.begin(), ms.end());
    f.min = ms.front();
    f.p50 = ms[ms.size() / 2];
    f.p99 = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    return f;
}

// Presses until the binding answers, so that measuring starts with the key taken.
bool WaitUntilBound(Presser& presser, int fifo) {
    for (int i = 0; i < 100; ++i) {
        presser.press();
        if (ReadStamp(fifo, 100) >= 0) {
            std::this_thread::sleep_for(100ms);
            Drain(fifo);
            return true;
        }
    }
    return false;
}

void Print(const char* who, const Figures& f, int presses) {
    std::printf("%-22s min %6.2f ms   p50 %6.2f ms   p99 %6.2f ms   (%d presses, %d missed)\n", who,
                f.min, f.p50, f.p99, presses, f.missed);
}

}  // namespace

int main(int argc, char** argv) {
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    X11Session::Options options;
    options.windowManager = false;
    options.systemBus = false;
    X11Session session(options);

    const std::string fifoPath = session.dir() + "/stamps";
    mkfifo(fifoPath.c_str(), 0600);
    const int fifo = open(fifoPath.c_str(), O_RDWR | O_CLOEXEC);
    const std::map<std::string, std::string> env = {{"BRISKO_BENCH_FIFO", fifoPath},
                                                    {"SHELL", "/bin/sh"}};
    Presser presser(session.display());
    if (fifo < 0 || !presser.ok()) {
        std::fprintf(stderr, "bench_hotkey_latency: set-up failed\n");
        return 1;
    }

    std::printf("Key press -> started program (%s)\n", BRISKO_LATENCY_TARGET);
    // The two take turns in blocks, so that a change in the machine's load hits both alike.
    constexpr int kRounds = 4;
    std::ofstream(session.dir() + "/sxhkdrc") << "F5\n\t" << BRISKO_LATENCY_TARGET << "\n";
    const std::string entry = session.dir() + "/target.desktop";
    std::ofstream(entry) << "[Desktop Entry]\nType=Application\nName=Target\nExec="
                         << BRISKO_LATENCY_TARGET << " %U\n";
    std::vector<double> briskoMs, entryMs, otherMs;
    int briskoMissed = 0, entryMissed = 0, otherMissed = 0;
    for (int round = 0; round < kRounds; ++round) {
        const int block = presses / kRounds + (round < presses % kRounds ? 1 : 0);
        const pid_t driver = session.spawn(
            {BRISKO_X11_DRIVER, "F5=2", std::string("F5.path=") + BRISKO_LATENCY_TARGET}, env);
        if (!WaitUntilBound(presser, fifo)) {
            std::fprintf(stderr, "bench_hotkey_latency: Brisko did not take F5\n");
            return 1;
        }
        briskoMissed += Measure(presser, fifo, block, briskoMs);
        session.stop(driver);

        const pid_t entryDriver =
            session.spawn({BRISKO_X11_DRIVER, "F5=2", "F5.path=" + entry}, env);
        if (!WaitUntilBound(presser, fifo)) {
            std::fprintf(stderr, "bench_hotkey_latency: Brisko did not start the entry\n");
            return 1;
        }
        entryMissed += Measure(presser, fifo, block, entryMs);
        session.stop(entryDriver);

        const pid_t sxhkd = session.spawn({"sxhkd", "-c", session.dir() + "/sxhkdrc"}, env);
        if (!WaitUntilBound(presser, fifo)) {
            std::fprintf(stderr, "bench_hotkey_latency: sxhkd did not take F5\n");
            return 1;
        }
        otherMissed += Measure(presser, fifo, block, otherMs);
        session.stop(sxhkd);
    }
    const Figures brisko = Summarise(briskoMs, briskoMissed);
    const Figures other = Summarise(otherMs, otherMissed);
    const Figures application = Summarise(entryMs, entryMissed);

    Print("Brisko (X11 backend)", brisko, presses);
    Print("Brisko, desktop entry", application, presses);
    Print("sxhkd (/bin/sh)", other, presses);
    close(fifo);
    return 0;
}
