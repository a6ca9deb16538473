#include "VersionFetcher.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "storage/LanguageFile.h"
#include "storage/TextFile.h"

namespace brisko {

namespace {
bool IsWebScheme(const QUrl& url) {
    return url.scheme() == "http" || url.scheme() == "https";
}
}  // namespace

VersionFetcher::VersionFetcher(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { fail(); });
}

VersionFetcher::~VersionFetcher() {
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
}

bool VersionFetcher::busy() const {
    return !reply_.isNull();
}

QString VersionFetcher::FirstLine(const QByteArray& body) {
    const LanguageLines lines = ParseLanguageFile(std::string_view(body.constData(), body.size()));
    return QString::fromStdString(lines[0]);
}

void VersionFetcher::fetch(const QUrl& url, const QString& localCopy) {
    if (reply_)
        return;
    body_.clear();
    localCopy_ = localCopy;
    redirects_ = 0;
    failed_ = false;
    if (!IsWebScheme(url)) {
        // Reported after the caller's own steps, as a network failure would be.
        QTimer::singleShot(0, this, [this] { emit finished(false, QString()); });
        return;
    }
    if (!network_)
        network_ = new QNetworkAccessManager(this);
    QNetworkRequest request(url);
    // Each redirect is checked here: the count, the scheme and no step down from https.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    reply_ = network_->get(request);
    reply_->setReadBufferSize(kMaxBytes + 1);
    connect(reply_, &QNetworkReply::redirected, this, [this](const QUrl& target) {
        const QUrl from = reply_->url();
        if (++redirects_ > kMaxRedirects || !IsWebScheme(target) ||
            (from.scheme() == "https" && target.scheme() == "http")) {
            fail();
            return;
        }
        emit reply_->redirectAllowed();
    });
    connect(reply_, &QNetworkReply::downloadProgress, this, [this](qint64, qint64 total) {
        if (total > kMaxBytes)
            fail();
    });
    connect(reply_, &QNetworkReply::readyRead, this, &VersionFetcher::onReadyRead);
    connect(reply_, &QNetworkReply::finished, this, &VersionFetcher::onFinished);
    timer_.start(timeoutMs_);
}

void VersionFetcher::onReadyRead() {
    if (!reply_ || failed_)
        return;
    body_ += reply_->readAll();
    if (body_.size() > kMaxBytes)
        fail();
}

void VersionFetcher::fail() {
    if (!reply_ || failed_)
        return;
    failed_ = true;
    reply_->abort();  // finishes the reply, which reports the failure
}

void VersionFetcher::onFinished() {
    QNetworkReply* reply = reply_;
    if (!reply)
        return;
    timer_.stop();
    reply_ = nullptr;
    reply->deleteLater();
    if (!failed_)
        body_ += reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (failed_ || reply->error() != QNetworkReply::NoError || body_.size() > kMaxBytes ||
        (status != 0 && (status < 200 || status >= 300))) {
        done(false, QString());
        return;
    }
    try {
        QDir().mkpath(QFileInfo(localCopy_).absolutePath());
        WriteFileAtomically(localCopy_.toStdString(),
                            std::string_view(body_.constData(), body_.size()));
    } catch (const std::exception&) {
        done(false, QString());
        return;
    }
    done(true, FirstLine(body_));
}

void VersionFetcher::done(bool ok, const QString& firstLine) {
    body_.clear();
    emit finished(ok, firstLine);
}

}  // namespace brisko
