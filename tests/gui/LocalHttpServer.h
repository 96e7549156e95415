#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <optional>

namespace sentravex::test {

// Serves one fixed HTTP answer on 127.0.0.1, or holds every connection open without a word.
class LocalHttpServer : public QObject {
public:
    explicit LocalHttpServer(std::optional<QByteArray> response) : response_(std::move(response)) {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (auto* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    request_ += socket->readAll();
                    if (response_ && request_.contains("\r\n\r\n")) {
                        socket->write(*response_);
                        socket->disconnectFromHost();
                    }
                });
            }
        });
    }
    QString base() const { return QString("http://127.0.0.1:%1").arg(server_.serverPort()); }
    const QByteArray& request() const { return request_; }

    static QByteArray answer(const QByteArray& body, const char* status = "200 OK") {
        return QByteArray("HTTP/1.1 ") + status + "\r\nContent-Type: text/plain\r\n" +
               "Content-Length: " + QByteArray::number(body.size()) +
               "\r\nConnection: close\r\n\r\n" + body;
    }

private:
    QTcpServer server_;
    std::optional<QByteArray> response_;
    QByteArray request_;
};

// A port where nothing listens any more.
inline QString downServer() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const auto port = probe.serverPort();
    probe.close();
    return QString("http://127.0.0.1:%1").arg(port);
}

} // namespace sentravex::test
