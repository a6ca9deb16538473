#pragma once

#include <string>
#include <vector>

namespace brisko::desktop {

/// A desktop session manager's log-off call on the session bus.
struct SessionManagerCall {
    const char* service;
    const char* path;
    const char* interface;
    const char* method;
    enum class Args { None, UInt1, IntZeros, BoolFalseTrue } args;
};

/// The session managers asked for a log-off, in order (GNOME and Cinnamon, KDE Plasma 6/5.25+,
/// older Plasma, Xfce, MATE, LXQt).
const std::vector<SessionManagerCall>& SessionManagers();

/// Power and session requests: systemd-logind on the system bus, the desktop's session manager
/// on the session bus. Every call waits at most the timeout for an answer, without blocking the
/// program (see CallWithoutBlocking), and reports failure when there is no bus, the request is
/// refused or nobody answers.
class SessionControl {
public:
    explicit SessionControl(int timeoutMs = 3000) : timeoutMs_(timeoutMs) {}

    bool powerOff();
    bool reboot();
    /// The running session manager's log-off; its refusal or silence is a failure. Only when
    /// no session manager with a log-off call is running does logind end this session
    /// (XDG_SESSION_ID, or the session that logind finds for this process).
    bool logOff();

private:
    bool logindManagerCall(const char* method, bool interactive);
    bool terminateOwnSession();

    int timeoutMs_;
};

}  // namespace brisko::desktop
