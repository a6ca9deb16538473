// Idle cost with all eleven slots bound, beside an empty Qt program ticking at the same 16 ms,
// both on one private X server in the same run.
// Usage: bench_idle_cpu [seconds]   (default 30)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ProcessStats.h"
#include "X11Session.h"

using brisko::testing::X11Session;

using brisko::bench::CpuNs;
using brisko::bench::ResidentKb;

namespace {}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    X11Session::Options options;
    options.windowManager = false;
    options.systemBus = false;
    X11Session session(options);

    std::vector<std::string> argvDriver = {BRISKO_X11_DRIVER, "--log", session.dir() + "/log"};
    for (int n = 1; n <= 11; ++n) {
        argvDriver.push_back("F" + std::to_string(n) + "=2");
        argvDriver.push_back("F" + std::to_string(n) + ".path=/bin/true");
    }
    const pid_t driver = session.spawn(argvDriver);
    const pid_t floor = session.spawn({BRISKO_IDLE_FLOOR});
    if (!X11Session::waitUntil(
            [&] { return !X11Session::readFile(session.dir() + "/log").empty(); })) {
        std::fprintf(stderr, "bench_idle_cpu: the driver did not start\n");
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::seconds(2));

    const long long driverStart = CpuNs(driver);
    const long long floorStart = CpuNs(floor);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double window = 1e9 * seconds;
    const double driverCpu = 100.0 * static_cast<double>(CpuNs(driver) - driverStart) / window;
    const double floorCpu = 100.0 * static_cast<double>(CpuNs(floor) - floorStart) / window;

    std::printf("Idle CPU over %d s (%% of one core)\n", seconds);
    std::printf("Brisko, 11 keys bound    %5.2f %%   resident %lld kB\n", driverCpu,
                ResidentKb(driver));
    std::printf("empty Qt, 16 ms timer    %5.2f %%   resident %lld kB\n", floorCpu,
                ResidentKb(floor));
    if (floorCpu > 0)
        std::printf("ratio                    %5.2f\n", driverCpu / floorCpu);
    return 0;
}
