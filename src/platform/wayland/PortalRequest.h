#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <functional>

namespace brisko::wayland {

/// One call of the portals' Request/Response protocol. The caller's options get a fresh
/// handle_token; the Response signal of the Request object is subscribed to before the call
/// goes out, so that no answer can be missed. The outcome arrives once, from the event loop:
/// the response code (0 success, 1 cancelled, 2 other) and results, or kCallFailed with the
/// D-Bus error name when the call itself failed, or kTimedOut. Deletes itself afterwards.
class PortalRequest : public QObject {
    Q_OBJECT
public:
    static constexpr unsigned kCallFailed = 100;
    static constexpr unsigned kTimedOut = 101;
    using Done =
        std::function<void(unsigned code, const QVariantMap& results, const QString& error)>;

    /// Sends the call (its last argument must be the options map) and waits at most timeoutMs.
    static void send(QDBusConnection bus, QDBusMessage call, int timeoutMs, QObject* owner,
                     Done done);

    /// The portals' request path for a token of this connection.
    static QString requestPath(const QDBusConnection& bus, const QString& token);
    /// A token that no other call of this process uses.
    static QString nextToken();

private slots:
    void onResponse(uint code, const QVariantMap& results);

private:
    PortalRequest(QDBusConnection bus, QObject* owner, Done done);
    void subscribe(const QString& path);
    void finish(unsigned code, const QVariantMap& results, const QString& error);

    QDBusConnection bus_;
    Done done_;
    QString path_;
    QTimer timeout_;
    bool finished_ = false;
};

}  // namespace brisko::wayland
