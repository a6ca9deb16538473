#pragma once

#include <QByteArray>
#include <QUrl>
#include <QtGlobal>
#include <functional>

namespace brisko {

/// One bounded GET over http or https. It runs in the http module, which brings Qt Network
/// with it and is loaded only at the first update check.
class HttpGet {
public:
    /// Ends the transfer at once; the callback is not called any more, and the transfer
    /// deletes itself.
    virtual void abort() = 0;
    /// The redirects the transfer was sent so far (the last one may have been refused).
    virtual int redirects() const = 0;

protected:
    virtual ~HttpGet() = default;
};

/// Called once when the transfer ends: ok with the whole body, or not ok (no connection,
/// unknown host, an HTTP status other than 2xx, a body or announced size above the limit,
/// a refused redirect). The transfer deletes itself afterwards.
using HttpGetDone = std::function<void(bool ok, const QByteArray& body, int redirects)>;

/// The module's entry point: starts a transfer. Redirects are followed up to maxRedirects,
/// only to http or https and never from https down to http.
using StartHttpGet = HttpGet* (*)(const QUrl& url, qint64 maxBytes, int maxRedirects,
                                  HttpGetDone done);

/// Whether url is one that the update check may fetch: http or https.
inline bool IsWebScheme(const QUrl& url) {
    return url.scheme() == "http" || url.scheme() == "https";
}

/// The entry point's name in the module.
inline constexpr const char* kStartHttpGetName = "brisko_start_http_get";
/// The module's file name, beside the executable in the build tree and in the program's
/// library folder when installed.
inline constexpr const char* kHttpModuleFile = "brisko-http.so";

}  // namespace brisko
