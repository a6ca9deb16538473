#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include "HttpGet.h"

namespace brisko {

/// Fetches the version file of the update check and keeps its local copy. One fetch at a time;
/// it never blocks the event loop. Bounded: a timeout for the whole transfer, a largest body,
/// a few redirects, http and https only and never from https down to http. The transfer runs
/// in the http module, loaded at the first fetch, so that a program that never checks does
/// not pay for Qt Network.
class VersionFetcher : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 10000;
    static constexpr qint64 kMaxBytes = 64 * 1024;
    static constexpr int kMaxRedirects = 5;

    /// httpModule: the module file (see HttpGet.h); without it every fetch fails.
    explicit VersionFetcher(QString httpModule, QObject* parent = nullptr);
    ~VersionFetcher() override;

    /// The whole fetch must end within this time.
    void setTimeout(int ms) { timeoutMs_ = ms; }
    int timeout() const { return timeoutMs_; }
    bool busy() const;
    /// The redirects the last fetch was sent (the last one may have been refused).
    int redirects() const { return redirects_; }
    /// Whether the http module is loaded yet.
    bool networkLoaded() const { return start_ != nullptr; }

    /// Starts fetching url; its body is written atomically to localCopy (folders created).
    /// Ends with finished(). Ignored while a fetch runs.
    void fetch(const QUrl& url, const QString& localCopy);

    /// The first line of a version file without its line end, decoded as the language files
    /// are (UTF-8, else Windows-1252); "" for an empty file.
    static QString FirstLine(const QByteArray& body);

signals:
    /// ok: the body arrived and was stored; firstLine is its first line. On failure (no
    /// connection, unknown host, HTTP error, timeout, too large, copy not writable) ok is false.
    void finished(bool ok, const QString& firstLine);

private:
    void received(bool ok, const QByteArray& body);
    void failLater();

    QString httpModule_;
    StartHttpGet start_ = nullptr;
    HttpGet* transfer_ = nullptr;  // deletes itself when it ends or is aborted
    QTimer timer_;
    QString localCopy_;
    int timeoutMs_ = kDefaultTimeoutMs;
    int redirects_ = 0;
};

}  // namespace brisko
