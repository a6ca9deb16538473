#pragma once

#include <QDBusConnection>
#include <QDBusMessage>

namespace brisko::desktop {

/// Sends a method call without blocking the program: while it waits (at most timeoutMs) for the
/// answer, a local event loop goes on painting windows and running timers, and leaves key
/// presses and other user input for after the answer. The answer, or an error message when
/// there is none in time.
QDBusMessage CallWithoutBlocking(QDBusConnection bus, const QDBusMessage& call, int timeoutMs);

/// Whether a service of that name is on the bus, asked the same way. Asking never starts it.
bool ServiceRunning(QDBusConnection bus, const QString& name, int timeoutMs);

}  // namespace brisko::desktop
