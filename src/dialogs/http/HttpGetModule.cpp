// The http module: Qt Network and the libraries it brings (Kerberos, libproxy, ...) are
// loaded with it at the first update check, not at the start of a program that may never
// check.
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

#include "dialogs/HttpGet.h"

namespace brisko {

namespace {

QNetworkAccessManager& Network() {
    // Kept for the rest of the run, as the module is.
    static QNetworkAccessManager* const network = new QNetworkAccessManager;
    return *network;
}

class Transfer final : public QObject, public HttpGet {
public:
    Transfer(const QUrl& url, qint64 maxBytes, int maxRedirects, HttpGetDone done)
        : maxBytes_(maxBytes), maxRedirects_(maxRedirects), done_(std::move(done)) {
        QNetworkRequest request(url);
        // Each redirect is checked here: the count, the scheme and no step down from https.
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::UserVerifiedRedirectPolicy);
        request.setMaximumRedirectsAllowed(maxRedirects);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::AlwaysNetwork);
        reply_ = Network().get(request);
        reply_->setReadBufferSize(maxBytes + 1);
        connect(reply_, &QNetworkReply::redirected, this, [this](const QUrl& target) {
            const QUrl from = reply_->url();
            if (++redirects_ > maxRedirects_ || !IsWebScheme(target) ||
                (from.scheme() == "https" && target.scheme() == "http")) {
                fail();
                return;
            }
            emit reply_->redirectAllowed();
        });
        connect(reply_, &QNetworkReply::downloadProgress, this, [this](qint64, qint64 total) {
            if (total > maxBytes_)
                fail();
        });
        connect(reply_, &QNetworkReply::readyRead, this, [this] {
            if (failed_)
                return;
            body_ += reply_->readAll();
            if (body_.size() > maxBytes_)
                fail();
        });
        connect(reply_, &QNetworkReply::finished, this, &Transfer::finished);
    }

    void abort() override {
        done_ = nullptr;
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
        deleteLater();
    }
    int redirects() const override { return redirects_; }

private:
    void fail() {
        if (failed_)
            return;
        failed_ = true;
        reply_->abort();  // finishes the reply, which reports the failure
    }

    void finished() {
        reply_->deleteLater();
        if (!failed_)
            body_ += reply_->readAll();
        const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const bool ok = !failed_ && reply_->error() == QNetworkReply::NoError &&
                        body_.size() <= maxBytes_ &&
                        (status == 0 || (status >= 200 && status < 300));
        reply_->disconnect(this);
        deleteLater();
        if (HttpGetDone done = std::move(done_))
            done(ok, ok ? body_ : QByteArray(), redirects_);
    }

    QPointer<QNetworkReply> reply_;
    QByteArray body_;
    const qint64 maxBytes_;
    const int maxRedirects_;
    int redirects_ = 0;
    bool failed_ = false;
    HttpGetDone done_;
};

}  // namespace

}  // namespace brisko

extern "C" Q_DECL_EXPORT brisko::HttpGet* brisko_start_http_get(const QUrl& url, qint64 maxBytes,
                                                                int maxRedirects,
                                                                brisko::HttpGetDone done) {
    return new brisko::Transfer(url, maxBytes, maxRedirects, std::move(done));
}
