#include "SingleInstance.h"

#include "platform/LocalSocketTrust.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace sentravex {
namespace {

constexpr int answerMs = 1000;
const QByteArray reopenRequest = "reopen\n";
const QByteArray shownAnswer = "shown\n";

bool sameUser(const QLocalSocket& socket) {
    return peerUid(static_cast<int>(socket.socketDescriptor())) == ::geteuid();
}

// Reads one line of at most the expected length, waiting no longer than the deadline.
QByteArray lineFrom(QLocalSocket& socket, const QByteArray& expected, QDeadlineTimer deadline) {
    while (!socket.canReadLine() && socket.bytesAvailable() < expected.size() &&
           socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
    }
    return socket.readLine(expected.size() + 1);
}

} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)) {
    if (isPrivateFolder(QFile::encodeName(folder).toStdString()))
        path_ = QDir(folder).filePath(QStringLiteral("sentravex"));
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (auto* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine() && socket->bytesAvailable() < reopenRequest.size())
                    return;
                if (socket->readLine(reopenRequest.size() + 1) == reopenRequest &&
                    sameUser(*socket)) {
                    emit reopenRequested();
                    socket->write(shownAnswer);
                }
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool SingleInstance::notifyRunningInstance() {
    if (path_.isEmpty())
        return false;
    const QDeadlineTimer deadline(answerMs);
    QLocalSocket socket;
    socket.connectToServer(path_);
    if (!socket.waitForConnected(answerMs) || !sameUser(socket))
        return false;
    socket.write(reopenRequest);
    socket.flush();
    return lineFrom(socket, shownAnswer, deadline) == shownAnswer;
}

bool SingleInstance::listen() {
    if (path_.isEmpty())
        return false;
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (server_->listen(path_))
        return true;
    // A copy that crashed, or one that did not answer above, leaves its socket behind; in this
    // folder it can only be ours.
    QLocalServer::removeServer(path_);
    return server_->listen(path_);
}

} // namespace sentravex
