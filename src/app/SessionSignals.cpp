#include "SessionSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace brisko {

namespace {
int gSignalFds[2] = {-1, -1};

extern "C" void OnSessionSignal(int number) {
    const int saved = errno;
    const char byte = static_cast<char>(number);
    [[maybe_unused]] ssize_t n = ::write(gSignalFds[0], &byte, 1);
    errno = saved;
}
}  // namespace

SessionSignals::SessionSignals(QObject* parent) : QObject(parent) {
    if (gSignalFds[0] < 0 &&
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gSignalFds) != 0)
        return;
    notifier_ = new QSocketNotifier(gSignalFds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionSignals::readSignal);

    struct sigaction action = {};
    action.sa_handler = OnSessionSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

SessionSignals::~SessionSignals() {
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

void SessionSignals::readSignal() {
    char buffer[16];
    bool ending = false;
    bool interrupt = false;
    ssize_t n;
    while ((n = ::read(gSignalFds[1], buffer, sizeof buffer)) > 0) {
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] == SIGINT)
                interrupt = true;
            else
                ending = true;
        }
    }
    // The end of the session wins: it saves without waiting for anything.
    if (ending)
        emit sessionEnding();
    else if (interrupt)
        emit interrupted();
}

}  // namespace brisko
