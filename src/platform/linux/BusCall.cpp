#include "BusCall.h"

#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>

namespace brisko::desktop {

QDBusMessage CallWithoutBlocking(QDBusConnection bus, const QDBusMessage& call, int timeoutMs) {
    QDBusPendingCall pending = bus.asyncCall(call, timeoutMs);
    if (!pending.isFinished()) {
        QDBusPendingCallWatcher watcher(pending);
        QEventLoop loop;
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        // The watcher may have seen the answer arrive while it was being connected.
        if (!pending.isFinished())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return pending.reply();
}

bool ServiceRunning(QDBusConnection bus, const QString& name, int timeoutMs) {
    QDBusMessage ask = QDBusMessage::createMethodCall(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner");
    ask << name;
    const QDBusMessage reply = CallWithoutBlocking(bus, ask, timeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().first().toBool();
}

}  // namespace brisko::desktop
