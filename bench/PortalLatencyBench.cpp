// The portal's Activated signal -> started program, for Brisko's Wayland backend (the hotkey
// driver on the real xdg-desktop-portal frontend with the tests' mocked desktop), beside the
// floor of starting the same program directly, in the same run; then again with a compositor
// that issues an XDG activation token for every start.
// Usage: bench_portal_latency [activations]   (default 200)
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "PortalDesktop.h"
#include "Stamps.h"

extern char** environ;

using brisko::testing::PortalDesktop;
using brisko::testing::X11Session;
using namespace std::chrono_literals;
using brisko::bench::NowNs;
using brisko::bench::ReadStamp;

namespace {

void Print(const char* who, std::vector<double> ms, int missed) {
    if (ms.empty()) {
        std::printf("%-30s no figures (%d missed)\n", who, missed);
        return;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-30s min %6.2f ms   p50 %6.2f ms   p99 %6.2f ms   (%zu runs, %d missed)\n", who,
                ms.front(), ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)],
                ms.size(), missed);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    PortalDesktop desktop;
    X11Session& session = desktop.session();
    const std::string fifoPath = session.dir() + "/stamps";
    mkfifo(fifoPath.c_str(), 0600);
    const int fifo = open(fifoPath.c_str(), O_RDWR | O_CLOEXEC);
    setenv("BRISKO_BENCH_FIFO", fifoPath.c_str(), 1);
    QDBusConnection bus =
        QDBusConnection::connectToBus(QString::fromStdString(desktop.busAddress()), "bench");
    if (fifo < 0 || !bus.isConnected()) {
        std::fprintf(stderr, "bench_portal_latency: set-up failed\n");
        return 1;
    }
    // The driver runs once without a compositor and once with one that issues an XDG
    // activation token for every start, the cost of asking for it included.
    const auto startDriver = [&](const std::string& waylandDisplay) {
        const unsigned long sessions = std::stoul(desktop.mock("SessionCount"));
        const pid_t driver = session.spawn(
            {BRISKO_X11_DRIVER, "F5=2", std::string("F5.path=") + BRISKO_LATENCY_TARGET},
            {{"BRISKO_BACKEND", "wayland"},
             {"BRISKO_BENCH_FIFO", fifoPath},
             {"WAYLAND_DISPLAY", waylandDisplay},
             {"QT_QPA_PLATFORM", "xcb"}});
        if (!X11Session::waitUntil(
                [&] {
                    return std::stoul(desktop.mock("SessionCount")) > sessions &&
                           desktop.mock("LastBound").rfind("F5=", 0) == 0;
                },
                30s)) {
            std::fprintf(stderr, "bench_portal_latency: F5 was not bound\n");
            std::exit(1);
        }
        return driver;
    };
    const auto activate =
        QDBusMessage::createMethodCall("org.freedesktop.impl.portal.desktop.briskotest",
                                       "/org/freedesktop/portal/desktop", "org.brisko.PortalMock",
                                       "Activate")
        << QString("F5");

    std::printf("Activated -> started program (%s)\n", BRISKO_LATENCY_TARGET);
    const auto ping = QDBusMessage::createMethodCall(
        "org.freedesktop.impl.portal.desktop.briskotest", "/org/freedesktop/portal/desktop",
        "org.brisko.PortalMock", "SessionCount");
    std::vector<double> portalMs, tokenMs, floorMs, mockMs;
    int portalMissed = 0, tokenMissed = 0, floorMissed = 0;
    const auto measure = [&](std::vector<double>& ms, int& missed, int count) {
        // The two take turns, so that a change in the machine's load hits both alike.
        for (int i = 0; i < count; ++i) {
            long long start = NowNs();
            bus.send(activate);
            long long stamp = ReadStamp(fifo, 2000);
            if (stamp < 0)
                ++missed;
            else
                ms.push_back(static_cast<double>(stamp - start) / 1e6);
            std::this_thread::sleep_for(15ms);

            char* args[] = {const_cast<char*>(BRISKO_LATENCY_TARGET), nullptr};
            pid_t child = 0;
            start = NowNs();
            if (posix_spawn(&child, BRISKO_LATENCY_TARGET, nullptr, nullptr, args, environ) == 0) {
                stamp = ReadStamp(fifo, 2000);
                waitpid(child, nullptr, 0);
            } else {
                stamp = -1;
            }
            if (stamp < 0)
                ++floorMissed;
            else
                floorMs.push_back(static_cast<double>(stamp - start) / 1e6);
            std::this_thread::sleep_for(15ms);

            start = NowNs();
            if (bus.call(ping, QDBus::Block, 2000).type() == QDBusMessage::ReplyMessage)
                mockMs.push_back(static_cast<double>(NowNs() - start) / 1e6);
        }
    };
    const std::string tokens = session.dir() + "/tokens.log";
    session.spawn({BRISKO_ACTIVATION_COMPOSITOR, "bench-tokens", tokens});
    if (!X11Session::waitUntil([&] { return X11Session::readFile(tokens) == "ready\n"; }, 20s)) {
        std::fprintf(stderr, "bench_portal_latency: the compositor did not start\n");
        return 1;
    }
    // Without and with tokens in turns, so that a change in the machine's load hits both alike.
    constexpr int kRounds = 4;
    for (int round = 0; round < kRounds; ++round) {
        const int block = runs / kRounds + (round < runs % kRounds ? 1 : 0);
        const pid_t plain = startDriver("");
        measure(portalMs, portalMissed, block);
        session.stop(plain);
        const pid_t withTokens = startDriver("bench-tokens");
        measure(tokenMs, tokenMissed, block);
        session.stop(withTokens);
    }
    Print("Brisko (portal backend)", portalMs, portalMissed);
    Print("  with an activation token", tokenMs, tokenMissed);
    Print("floor: posix_spawn directly", floorMs, floorMissed);
    Print("of which: a call of the mock", mockMs, 2 * runs - static_cast<int>(mockMs.size()));
    std::printf("(the portal figure includes the mocked desktop's and the frontend's turns)\n");
    close(fifo);
    return 0;
}
