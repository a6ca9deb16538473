#include "SessionControl.h"

#include <unistd.h>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>

#include <cstdlib>

#include "BusCall.h"

namespace brisko::desktop {

namespace {
const char* const kLogind = "org.freedesktop.login1";
const char* const kLogindPath = "/org/freedesktop/login1";
const char* const kLogindManager = "org.freedesktop.login1.Manager";

bool Succeeded(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage;
}

// The answer of a running service that does not have the call (another version of it).
bool LacksCall(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ErrorMessage)
        return false;
    const QString name = reply.errorName();
    return name == "org.freedesktop.DBus.Error.UnknownMethod" ||
           name == "org.freedesktop.DBus.Error.UnknownObject" ||
           name == "org.freedesktop.DBus.Error.UnknownInterface" ||
           name == "org.freedesktop.DBus.Error.ServiceUnknown" ||
           name == "org.freedesktop.DBus.Error.InvalidArgs";
}
}  // namespace

const std::vector<SessionManagerCall>& SessionManagers() {
    using A = SessionManagerCall::Args;
    static const std::vector<SessionManagerCall> managers = {
        {"org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager",
         "Logout", A::UInt1},
        {"org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown", "logout", A::None},
        {"org.kde.ksmserver", "/KSMServer", "org.kde.KSMServerInterface", "logout", A::IntZeros},
        {"org.xfce.SessionManager", "/org/xfce/SessionManager", "org.xfce.Session.Manager",
         "Logout", A::BoolFalseTrue},
        {"org.mate.SessionManager", "/org/mate/SessionManager", "org.mate.SessionManager", "Logout",
         A::UInt1},
        {"org.lxqt.session", "/LXQtSession", "org.lxqt.session", "logout", A::None},
    };
    return managers;
}

bool SessionControl::logindManagerCall(const char* method, bool interactive) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kLogind, kLogindPath, kLogindManager, method);
    call << interactive;
    return Succeeded(CallWithoutBlocking(bus, call, timeoutMs_));
}

bool SessionControl::powerOff() {
    return logindManagerCall("PowerOff", true);
}

bool SessionControl::reboot() {
    return logindManagerCall("Reboot", true);
}

bool SessionControl::logOff() {
    QDBusConnection session = QDBusConnection::sessionBus();
    if (session.isConnected()) {
        for (const SessionManagerCall& manager : SessionManagers()) {
            // Only a manager that is running: asking for the name would otherwise start one.
            if (!ServiceRunning(session, manager.service, timeoutMs_))
                continue;
            QDBusMessage call = QDBusMessage::createMethodCall(manager.service, manager.path,
                                                               manager.interface, manager.method);
            using A = SessionManagerCall::Args;
            switch (manager.args) {
                case A::None:
                    break;
                case A::UInt1:
                    call << 1u;
                    break;  // log off without asking again
                case A::IntZeros:
                    call << 0 << 0 << 0;
                    break;
                case A::BoolFalseTrue:
                    call << false << true;
                    break;
            }
            const QDBusMessage reply = CallWithoutBlocking(session, call, timeoutMs_);
            if (Succeeded(reply))
                return true;
            // A refusal (the user kept the session, a program objects) or no answer is the
            // session's answer. Ending the session through logind instead would kill every
            // program before it could save.
            if (!LacksCall(reply))
                return false;
        }
    }
    return terminateOwnSession();
}

bool SessionControl::terminateOwnSession() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return false;
    const char* sessionId = std::getenv("XDG_SESSION_ID");
    if (sessionId && *sessionId) {
        QDBusMessage call = QDBusMessage::createMethodCall(kLogind, kLogindPath, kLogindManager,
                                                           "TerminateSession");
        call << QString::fromUtf8(sessionId);
        return Succeeded(CallWithoutBlocking(bus, call, timeoutMs_));
    }
    QDBusMessage find =
        QDBusMessage::createMethodCall(kLogind, kLogindPath, kLogindManager, "GetSessionByPID");
    find << static_cast<uint>(::getpid());
    const QDBusMessage found = CallWithoutBlocking(bus, find, timeoutMs_);
    if (!Succeeded(found) || found.arguments().isEmpty())
        return false;
    const QString path = found.arguments().first().value<QDBusObjectPath>().path();
    if (path.isEmpty())
        return false;
    QDBusMessage terminate = QDBusMessage::createMethodCall(
        kLogind, path, "org.freedesktop.login1.Session", "Terminate");
    return Succeeded(CallWithoutBlocking(bus, terminate, timeoutMs_));
}

}  // namespace brisko::desktop
