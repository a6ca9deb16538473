#pragma once

#include <sys/types.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace brisko::bench {

/// Time the process has spent on a CPU, in nanoseconds (the scheduler's own account, far finer
/// than the clock ticks of /proc/PID/stat); -1 when unknown.
inline long long CpuNs(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/schedstat");
    long long running = -1;
    in >> running;
    return running;
}

/// A field of /proc/PID/status in kB ("VmRSS", "RssAnon", "RssFile", "RssShmem"); -1 when
/// unknown.
inline long long StatusKb(pid_t pid, const std::string& field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::atoll(line.c_str() + field.size() + 1);
    return -1;
}

/// Resident memory of the process in kB; -1 when unknown.
inline long long ResidentKb(pid_t pid) {
    return StatusKb(pid, "VmRSS");
}

}  // namespace brisko::bench
