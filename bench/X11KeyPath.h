#pragma once

#include <xcb/xcb.h>

#include <cstddef>
#include <string>
#include <vector>

namespace brisko::bench {

/// Presses and releases F5 through XTest on an X display, as a user's key press reaches the
/// X server.
class Presser {
public:
    explicit Presser(const std::string& display);
    ~Presser();
    Presser(const Presser&) = delete;
    Presser& operator=(const Presser&) = delete;
    bool ok() const;
    void press();

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_keycode_t keycode_ = 0;
};

/// Reads away the stamps that are still on their way.
void Drain(int fifo);

/// Presses until the binding answers, so that measuring starts with the key taken.
bool WaitUntilBound(Presser& presser, int fifo);

/// One press: appends its latency (press to the started program's stamp, in milliseconds);
/// false when nothing started within 2 s.
bool MeasureOnce(Presser& presser, int fifo, std::vector<double>& ms);

/// Presses, 15 ms apart; returns the presses that started nothing.
int Measure(Presser& presser, int fifo, int presses, std::vector<double>& ms);

struct Figures {
    double min = 0, p50 = 0, p99 = 0;
    std::size_t runs = 0;
    int missed = 0;
};
Figures Summarise(std::vector<double> ms, int missed);
/// One line: who, min, p50, p99, runs and missed.
void Print(const char* who, const Figures& f);

}  // namespace brisko::bench
