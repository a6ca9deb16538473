#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QTcpServer>

namespace brisko::testing {

/// A small HTTP/1.0 server on 127.0.0.1 for the update check: each path answers with a
/// status, headers and a body, or never answers at all. Other paths get 404.
class LocalHttpServer : public QTcpServer {
public:
    struct Answer {
        Answer(int status = 200, QByteArray body = {}, bool silent = false)
            : status(status), body(std::move(body)), silent(silent) {}
        int status = 200;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        bool silent = false;  ///< reads the request and never answers
    };

    LocalHttpServer();
    /// "http://127.0.0.1:<port>"
    QString site() const;
    void answer(const QString& path, Answer answer) { answers_[path] = std::move(answer); }
    void answer(const QString& path, const QByteArray& body) { answers_[path] = Answer(200, body); }
    /// A 302 to another address.
    void redirect(const QString& path, const QString& location);
    /// The paths asked for, in order.
    QStringList requests;

private:
    void serve(QTcpSocket* socket);
    QMap<QString, Answer> answers_;
};

}  // namespace brisko::testing
