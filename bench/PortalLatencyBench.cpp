// The portal's Activated signal -> started program, for Brisko's Wayland backend (the hotkey
// driver on the real xdg-desktop-portal frontend with the tests' mocked desktop), beside, in the
// same run and taking turns: the same driver on the X11 key path (as bench_hotkey_latency
// measures it), the floor of starting the program directly, and the mocked desktop's own share;
// then the portal path again with a compositor that issues an XDG activation token for every
// start, beside the portal path without one, in turns.
// Usage: bench_portal_latency [activations]   (default 200)
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "PortalDesktop.h"
#include "Stamps.h"
#include "X11KeyPath.h"

extern char** environ;

using brisko::testing::PortalDesktop;
using brisko::testing::X11Session;
using namespace std::chrono_literals;
using namespace brisko::bench;

namespace {

QDBusMessage MockCall(const char* method) {
    return QDBusMessage::createMethodCall("org.freedesktop.impl.portal.desktop.briskotest",
                                          "/org/freedesktop/portal/desktop",
                                          "org.brisko.PortalMock", method);
}

// The moments (CLOCK_MONOTONIC, ns) at which the mock sent out each Activated.
std::vector<long long> EmittedAt(QDBusConnection& bus) {
    const QDBusReply<QString> reply = bus.call(MockCall("Emitted"), QDBus::Block, 5000);
    std::vector<long long> out;
    std::istringstream in(reply.isValid() ? reply.value().toStdString() : std::string());
    for (long long t = 0; in >> t;)
        out.push_back(t);
    return out;
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
    Presser presser(session.display());
    if (fifo < 0 || !bus.isConnected() || !presser.ok()) {
        std::fprintf(stderr, "bench_portal_latency: set-up failed\n");
        return 1;
    }
    // The same driver twice, slot 5 starting the same program: once with its keys from the
    // portal, once with its keys grabbed on the session's X server.
    const std::vector<std::string> driver = {BRISKO_X11_DRIVER, "F5=2",
                                             std::string("F5.path=") + BRISKO_LATENCY_TARGET};
    // A portal driver, with the compositor's tokens or without; only one at a time holds F5.
    const auto startPortalDriver = [&](const std::string& waylandDisplay) {
        const unsigned long sessions = std::stoul(desktop.mock("SessionCount"));
        const pid_t pid = session.spawn(driver, {{"BRISKO_BACKEND", "wayland"},
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
        return pid;
    };
    pid_t portalDriver = startPortalDriver("");
    session.spawn(driver, {{"BRISKO_BACKEND", "x11"}, {"BRISKO_BENCH_FIFO", fifoPath}});
    if (!WaitUntilBound(presser, fifo)) {
        std::fprintf(stderr, "bench_portal_latency: the X11 driver did not take F5\n");
        return 1;
    }
    const auto activate = MockCall("Activate") << QString("F5");
    const auto ping = MockCall("SessionCount");

    std::printf("Activated -> started program (%s)\n", BRISKO_LATENCY_TARGET);
    std::vector<long long> sent, started;  // per activation; started -1 when missed
    std::vector<double> portalMs, x11Ms, floorMs, mockCallMs;
    int portalMissed = 0, x11Missed = 0, floorMissed = 0;
    // They take turns, so that a change in the machine's load hits all alike.
    for (int i = 0; i < runs; ++i) {
        sent.push_back(NowNs());
        bus.send(activate);
        started.push_back(ReadStamp(fifo, 2000));
        if (started.back() < 0)
            ++portalMissed;
        else
            portalMs.push_back(static_cast<double>(started.back() - sent.back()) / 1e6);
        std::this_thread::sleep_for(15ms);

        if (!MeasureOnce(presser, fifo, x11Ms))
            ++x11Missed;
        std::this_thread::sleep_for(15ms);

        char* args[] = {const_cast<char*>(BRISKO_LATENCY_TARGET), nullptr};
        pid_t child = 0;
        long long start = NowNs();
        long long stamp = -1;
        if (posix_spawn(&child, BRISKO_LATENCY_TARGET, nullptr, nullptr, args, environ) == 0) {
            stamp = ReadStamp(fifo, 2000);
            waitpid(child, nullptr, 0);
        }
        if (stamp < 0)
            ++floorMissed;
        else
            floorMs.push_back(static_cast<double>(stamp - start) / 1e6);
        std::this_thread::sleep_for(15ms);

        start = NowNs();
        if (bus.call(ping, QDBus::Block, 2000).type() == QDBusMessage::ReplyMessage)
            mockCallMs.push_back(static_cast<double>(NowNs() - start) / 1e6);
    }

    // The mocked desktop's share: from the request to emit until its Activated went out. The
    // rest is what a real desktop's signal costs too: the frontend, Brisko and the spawn.
    const std::vector<long long> emitted = EmittedAt(bus);
    std::vector<double> mockMs, restMs;
    if (emitted.size() == sent.size()) {
        for (std::size_t i = 0; i < sent.size(); ++i) {
            mockMs.push_back(static_cast<double>(emitted[i] - sent[i]) / 1e6);
            if (started[i] >= 0)
                restMs.push_back(static_cast<double>(started[i] - emitted[i]) / 1e6);
        }
    }
    const Figures portal = Summarise(portalMs, portalMissed);
    const Figures rest = Summarise(restMs, portalMissed);
    const Figures x11 = Summarise(x11Ms, x11Missed);
    Print("Brisko, portal: request -> program", portal);
    Print("  the mocked desktop: request -> signal", Summarise(mockMs, 0));
    Print("  the rest: Activated -> program", rest);
    Print("Brisko, X11: key press -> program", x11);
    Print("floor: posix_spawn directly", Summarise(floorMs, floorMissed));
    Print("a call of the mock, there and back", Summarise(mockCallMs, 0));
    if (!restMs.empty() && !x11Ms.empty())
        std::printf("Activated -> program against the X11 key path, p50: %+.2f ms (goal: < 1 ms)\n",
                    rest.p50 - x11.p50);
    else
        std::printf("(no breakdown: the mock reported %zu of %zu activations)\n", emitted.size(),
                    sent.size());

    // With activation tokens: the same activations, the driver now asking the tests' compositor
    // for a token before each start; in turns with a driver that has no compositor.
    const std::string tokens = session.dir() + "/tokens.log";
    session.spawn({BRISKO_ACTIVATION_COMPOSITOR, "bench-tokens", tokens});
    if (!X11Session::waitUntil([&] { return X11Session::readFile(tokens) == "ready\n"; }, 20s)) {
        std::fprintf(stderr, "bench_portal_latency: the compositor did not start\n");
        return 1;
    }
    std::vector<double> plainMs, tokenMs;
    int plainMissed = 0, tokenMissed = 0;
    const auto activations = [&](std::vector<double>& ms, int& missed, int count) {
        for (int i = 0; i < count; ++i) {
            const long long start = NowNs();
            bus.send(activate);
            const long long stamp = ReadStamp(fifo, 2000);
            if (stamp < 0)
                ++missed;
            else
                ms.push_back(static_cast<double>(stamp - start) / 1e6);
            std::this_thread::sleep_for(15ms);
        }
    };
    constexpr int kRounds = 4;
    for (int round = 0; round < kRounds; ++round) {
        const int block = runs / kRounds + (round < runs % kRounds ? 1 : 0);
        session.stop(portalDriver);
        portalDriver = startPortalDriver("bench-tokens");
        activations(tokenMs, tokenMissed, block);
        session.stop(portalDriver);
        portalDriver = startPortalDriver("");
        activations(plainMs, plainMissed, block);
    }
    Print("Brisko, portal, with an activation token", Summarise(tokenMs, tokenMissed));
    Print("Brisko, portal, no compositor (in turns)", Summarise(plainMs, plainMissed));
    close(fifo);
    return 0;
}
