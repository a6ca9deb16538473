#include "LocalHttpServer.h"

#include <QTcpSocket>

namespace brisko::testing {

LocalHttpServer::LocalHttpServer() {
    listen(QHostAddress::LocalHost, 0);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString LocalHttpServer::site() const {
    return QString("http://127.0.0.1:%1").arg(serverPort());
}

void LocalHttpServer::redirect(const QString& path, const QString& location) {
    Answer moved(302);
    moved.headers = {{"Location", location.toUtf8()}};
    answers_[path] = moved;
}

void LocalHttpServer::serve(QTcpSocket* socket) {
    if (socket->property("served").toBool() || !socket->canReadLine())
        return;
    const QList<QByteArray> request = socket->readLine().trimmed().split(' ');
    socket->setProperty("served", true);
    const QString path = request.size() > 1 ? QString::fromUtf8(request[1]) : QString();
    requests << path;
    Answer answer(404, "not here");
    if (answers_.contains(path))
        answer = answers_.value(path);
    if (answer.silent)
        return;
    QByteArray reply = "HTTP/1.0 " + QByteArray::number(answer.status) + " X\r\n";
    for (const auto& [name, value] : answer.headers)
        reply += name + ": " + value + "\r\n";
    reply += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
    reply += "Connection: close\r\n\r\n";
    reply += answer.body;
    socket->write(reply);
    socket->disconnectFromHost();
}

}  // namespace brisko::testing
