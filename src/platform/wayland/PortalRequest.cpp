#include "PortalRequest.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace brisko::wayland {

namespace {
constexpr const char* kPortalService = "org.freedesktop.portal.Desktop";
}

QString PortalRequest::requestPath(const QDBusConnection& bus, const QString& token) {
    QString sender = bus.baseService().mid(1);
    sender.replace('.', '_');
    return "/org/freedesktop/portal/desktop/request/" + sender + "/" + token;
}

QString PortalRequest::nextToken() {
    static unsigned counter = 0;
    return QString("brisko%1").arg(++counter);
}

PortalRequest::PortalRequest(QDBusConnection bus, QObject* owner, Done done)
    : QObject(owner), bus_(std::move(bus)), done_(std::move(done)) {
    timeout_.setSingleShot(true);
    connect(&timeout_, &QTimer::timeout, this, [this] { finish(kTimedOut, {}, {}); });
}

void PortalRequest::subscribe(const QString& path) {
    if (path == path_)
        return;
    if (!path_.isEmpty())
        bus_.disconnect(kPortalService, path_, "org.freedesktop.portal.Request", "Response", this,
                        SLOT(onResponse(uint, QVariantMap)));
    path_ = path;
    bus_.connect(kPortalService, path_, "org.freedesktop.portal.Request", "Response", this,
                 SLOT(onResponse(uint, QVariantMap)));
}

void PortalRequest::send(QDBusConnection bus, QDBusMessage call, int timeoutMs, QObject* owner,
                         Done done) {
    auto* request = new PortalRequest(bus, owner, std::move(done));
    const QString token = nextToken();
    QList<QVariant> args = call.arguments();
    QVariantMap options = args.isEmpty() ? QVariantMap{} : args.takeLast().toMap();
    options.insert("handle_token", token);
    args.append(options);
    call.setArguments(args);
    request->subscribe(requestPath(bus, token));
    request->timeout_.start(timeoutMs);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, timeoutMs), request);
    connect(watcher, &QDBusPendingCallWatcher::finished, request,
            [request](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *w;
                if (reply.isError()) {
                    request->finish(kCallFailed, {}, reply.error().name());
                    return;
                }
                // Older portals may answer on another path than the predicted one.
                request->subscribe(reply.value().path());
            });
}

void PortalRequest::onResponse(uint code, const QVariantMap& results) {
    finish(code, results, {});
}

void PortalRequest::finish(unsigned code, const QVariantMap& results, const QString& error) {
    if (finished_)
        return;
    finished_ = true;
    timeout_.stop();
    bus_.disconnect(kPortalService, path_, "org.freedesktop.portal.Request", "Response", this,
                    SLOT(onResponse(uint, QVariantMap)));
    if (done_)
        done_(code, results, error);
    deleteLater();
}

}  // namespace brisko::wayland
