// The program that a hotkey starts in the latency benchmark: it writes the moment it runs
// (CLOCK_MONOTONIC, in nanoseconds) to the FIFO named by BRISKO_BENCH_FIFO and ends.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

int main() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* fifo = std::getenv("BRISKO_BENCH_FIFO");
    if (!fifo)
        return 1;
    const int fd = open(fifo, O_WRONLY | O_NONBLOCK);
    if (fd < 0)
        return 1;
    char line[32];
    const int length =
        std::snprintf(line, sizeof line, "%lld\n",
                      static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    const bool ok = write(fd, line, static_cast<size_t>(length)) == length;
    close(fd);
    return ok ? 0 : 1;
}
