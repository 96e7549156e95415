#include "SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace sentravex {
namespace {
constexpr int answerMs = 1000;
const QByteArray reopenMessage = "reopen\n";
} // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)), server_(new QLocalServer(this)) {
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (auto* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().startsWith(reopenMessage.trimmed()))
                    emit reopenRequested();
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool SingleInstance::notifyRunningInstance() {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(answerMs))
        return false;
    socket.write(reopenMessage);
    socket.waitForBytesWritten(answerMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen() {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (server_->listen(name_))
        return true;
    // A copy that crashed leaves its socket file behind; nobody answered on it above.
    QLocalServer::removeServer(name_);
    return server_->listen(name_);
}

} // namespace sentravex
