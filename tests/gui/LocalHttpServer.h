#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <chrono>
#include <optional>

namespace sentravex::test {

// Serves one HTTP answer on 127.0.0.1 to every request: whole, a byte at a time, or followed by
// body bytes without end; or holds every connection open without a word.
class LocalHttpServer : public QObject {
public:
    enum class Pace {
        Whole,   // the answer at once, then the connection closes
        Drip,    // the headers, then one byte of the body per interval, then the close
        Endless, // the answer, then body bytes for as long as the client reads them
    };

    explicit LocalHttpServer(std::optional<QByteArray> response, Pace pace = Pace::Whole,
                             std::chrono::milliseconds interval = std::chrono::milliseconds(100))
        : response_(std::move(response)), pace_(pace), interval_(interval) {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (auto* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const bool headersDone = request_.contains("\r\n\r\n");
                    request_ += socket->readAll();
                    if (response_ && !headersDone && request_.contains("\r\n\r\n"))
                        answer(socket);
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString base() const { return QString("http://127.0.0.1:%1").arg(server_.serverPort()); }
    const QByteArray& request() const { return request_; }
    // Bytes handed to the sockets so far.
    qint64 sent() const { return sent_; }

    // A status line, a Content-Length (the body's own unless `declared` says otherwise), the body.
    static QByteArray answer(const QByteArray& body, const char* status = "200 OK",
                             std::optional<qsizetype> declared = std::nullopt) {
        return QByteArray("HTTP/1.1 ") + status + "\r\nContent-Type: text/plain\r\n" +
               "Content-Length: " + QByteArray::number(declared.value_or(body.size())) +
               "\r\nConnection: close\r\n\r\n" + body;
    }
    // The headers of an answer whose body has no declared end.
    static QByteArray openEnded() {
        return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n";
    }

private:
    void send(QTcpSocket* socket, const QByteArray& bytes) { sent_ += socket->write(bytes); }

    void answer(QTcpSocket* socket) {
        switch (pace_) {
        case Pace::Whole:
            send(socket, *response_);
            socket->disconnectFromHost();
            break;
        case Pace::Drip: {
            const auto body = response_->indexOf("\r\n\r\n") + 4;
            send(socket, response_->left(body));
            drip(socket, body);
            break;
        }
        case Pace::Endless:
            send(socket, *response_);
            // More whenever the last of it has left: the client decides how fast.
            connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket] {
                if (socket->bytesToWrite() == 0)
                    send(socket, QByteArray(64 * 1024, 'x'));
            });
            break;
        }
    }

    void drip(QTcpSocket* socket, qsizetype next) {
        if (next == response_->size()) {
            socket->disconnectFromHost();
            return;
        }
        QTimer::singleShot(interval_, socket, [this, socket, next] {
            send(socket, response_->mid(next, 1));
            drip(socket, next + 1);
        });
    }

    QTcpServer server_;
    std::optional<QByteArray> response_;
    Pace pace_;
    std::chrono::milliseconds interval_;
    QByteArray request_;
    qint64 sent_ = 0;
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
