#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace brisko {

/// Fetches the version file of the update check and keeps its local copy. One fetch at a time;
/// it never blocks the event loop. Bounded: a timeout for the whole transfer, a largest body,
/// a few redirects, http and https only and never from https down to http. The network access
/// manager is created at the first fetch, so that a program that never checks does not pay
/// for it.
class VersionFetcher : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 10000;
    static constexpr qint64 kMaxBytes = 64 * 1024;
    static constexpr int kMaxRedirects = 5;

    explicit VersionFetcher(QObject* parent = nullptr);
    ~VersionFetcher() override;

    /// The whole fetch must end within this time.
    void setTimeout(int ms) { timeoutMs_ = ms; }
    int timeout() const { return timeoutMs_; }
    bool busy() const;
    /// The redirects the last fetch was sent (the last one may have been refused).
    int redirects() const { return redirects_; }
    /// Whether the network access manager exists yet.
    bool networkCreated() const { return network_ != nullptr; }

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
    void onReadyRead();
    void onFinished();
    void fail();
    void done(bool ok, const QString& firstLine);

    QNetworkAccessManager* network_ = nullptr;
    QPointer<QNetworkReply> reply_;
    QTimer timer_;
    QByteArray body_;
    QString localCopy_;
    int timeoutMs_ = kDefaultTimeoutMs;
    int redirects_ = 0;
    bool failed_ = false;
};

}  // namespace brisko
