#include "X11KeyPath.h"

#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "Stamps.h"

namespace brisko::bench {

using namespace std::chrono_literals;

Presser::Presser(const std::string& display) {
    connection_ = xcb_connect(display.c_str(), nullptr);
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection_);
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, 0xffc2);  // F5
    keycode_ = codes ? codes[0] : 0;
    std::free(codes);
    xcb_key_symbols_free(symbols);
}

Presser::~Presser() {
    xcb_disconnect(connection_);
}

bool Presser::ok() const {
    return !xcb_connection_has_error(connection_) && keycode_ != 0;
}

void Presser::press() {
    xcb_test_fake_input(connection_, XCB_KEY_PRESS, keycode_, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(connection_, XCB_KEY_RELEASE, keycode_, XCB_CURRENT_TIME, XCB_NONE, 0, 0,
                        0);
    xcb_flush(connection_);
}

void Drain(int fifo) {
    while (ReadStamp(fifo, 50) >= 0) {
    }
}

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

bool MeasureOnce(Presser& presser, int fifo, std::vector<double>& ms) {
    const long long start = NowNs();
    presser.press();
    const long long stamp = ReadStamp(fifo, 2000);
    if (stamp < 0)
        return false;
    ms.push_back(static_cast<double>(stamp - start) / 1e6);
    return true;
}

int Measure(Presser& presser, int fifo, int presses, std::vector<double>& ms) {
    int missed = 0;
    for (int i = 0; i < presses; ++i) {
        if (!MeasureOnce(presser, fifo, ms)) {
            ++missed;
            continue;
        }
        std::this_thread::sleep_for(15ms);
    }
    return missed;
}

Figures Summarise(std::vector<double> ms, int missed) {
    Figures f;
    f.missed = missed;
    f.runs = ms.size() + static_cast<std::size_t>(missed);
    if (ms.empty())
        return f;
    std::sort(ms.begin(), ms.end());
    f.min = ms.front();
    f.p50 = ms[ms.size() / 2];
    f.p99 = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    return f;
}

void Print(const char* who, const Figures& f) {
    std::printf("%-40s min %6.2f ms   p50 %6.2f ms   p99 %6.2f ms   (%zu runs, %d missed)\n", who,
                f.min, f.p50, f.p99, f.runs, f.missed);
}

}  // namespace brisko::bench
