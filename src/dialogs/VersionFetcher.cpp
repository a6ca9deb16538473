#include "VersionFetcher.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <utility>

#include "storage/LanguageFile.h"
#include "storage/TextFile.h"

namespace brisko {

VersionFetcher::VersionFetcher(QString httpModule, QObject* parent)
    : QObject(parent), httpModule_(std::move(httpModule)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (!transfer_)
            return;
        redirects_ = transfer_->redirects();
        std::exchange(transfer_, nullptr)->abort();
        emit finished(false, QString());
    });
}

VersionFetcher::~VersionFetcher() {
    if (transfer_)
        transfer_->abort();
}

bool VersionFetcher::busy() const {
    return transfer_ != nullptr;
}

QString VersionFetcher::FirstLine(const QByteArray& body) {
    const LanguageLines lines = ParseLanguageFile(std::string_view(body.constData(), body.size()));
    return QString::fromStdString(lines[0]);
}

// Reported after the caller's own steps, as a network failure would be.
void VersionFetcher::failLater() {
    QTimer::singleShot(0, this, [this] { emit finished(false, QString()); });
}

void VersionFetcher::fetch(const QUrl& url, const QString& localCopy) {
    if (transfer_)
        return;
    localCopy_ = localCopy;
    redirects_ = 0;
    if (!IsWebScheme(url)) {
        failLater();
        return;
    }
    if (!start_) {
        QLibrary module(httpModule_);
        start_ = reinterpret_cast<StartHttpGet>(module.resolve(kStartHttpGetName));
        if (!start_) {
            qWarning("The update check cannot load %s: %s", qPrintable(httpModule_),
                     qPrintable(module.errorString()));
            failLater();
            return;
        }
    }
    transfer_ = start_(url, kMaxBytes, kMaxRedirects,
                       [this](bool ok, const QByteArray& body, int redirects) {
                           transfer_ = nullptr;
                           redirects_ = redirects;
                           received(ok, body);
                       });
    timer_.start(timeoutMs_);
}

void VersionFetcher::received(bool ok, const QByteArray& body) {
    timer_.stop();
    if (!ok) {
        emit finished(false, QString());
        return;
    }
    try {
        QDir().mkpath(QFileInfo(localCopy_).absolutePath());
        WriteFileAtomically(localCopy_.toStdString(),
                            std::string_view(body.constData(), body.size()));
    } catch (const std::exception&) {
        emit finished(false, QString());
        return;
    }
    emit finished(true, FirstLine(body));
}

}  // namespace brisko
