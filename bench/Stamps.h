#pragma once

#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace brisko::bench {

/// CLOCK_MONOTONIC in nanoseconds, the clock latency_target writes.
inline long long NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

/// The start moment that latency_target wrote to the FIFO, or -1 after the timeout.
inline long long ReadStamp(int fifo, int timeoutMs) {
    std::string line;
    pollfd p{fifo, POLLIN, 0};
    while (line.find('\n') == std::string::npos) {
        if (poll(&p, 1, timeoutMs) <= 0)
            return -1;
        char buffer[64];
        const ssize_t n = read(fifo, buffer, sizeof buffer);
        if (n <= 0)
            return -1;
        line.append(buffer, static_cast<std::size_t>(n));
    }
    return std::atoll(line.c_str());
}

}  // namespace brisko::bench
