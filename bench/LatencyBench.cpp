// Key press → started program, measured on a private X server for Brisko's backend (the
// hotkey driver) with the program's path and with a desktop entry that starts it, and, in the
// same run, for sxhkd bound to the same key and program.
// Usage: bench_hotkey_latency [presses]   (default 200)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "X11KeyPath.h"
#include "X11Session.h"

using brisko::testing::X11Session;
using namespace brisko::bench;

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

    Print("Brisko (X11 backend)", brisko);
    Print("Brisko, desktop entry", application);
    Print("sxhkd (/bin/sh)", other);
    close(fifo);
    return 0;
}
