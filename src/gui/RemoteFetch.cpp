#include "RemoteFetch.h"

#include "remote/HttpAnswer.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <memory>

namespace sentravex {
namespace {

RequestError requestError(QNetworkReply::NetworkError error) {
    if (error == QNetworkReply::NoError)
        return RequestError::None;
    // Qt numbers the errors an HTTP status stands for as content (2xx) and server (4xx) errors;
    // the rest are the connection's, the proxy's and the protocol's.
    const int code = error;
    if ((code > 200 && code < 300) || (code > 400 && code < 500))
        return RequestError::HttpStatus;
    return RequestError::Transport;
}

struct Received {
    std::string body;
    bool capPassed = false;
};

} // namespace

void fetchRemoteDocument(QNetworkAccessManager& network, const QUrl& url, std::size_t cap,
                         std::chrono::milliseconds deadline, QObject* context,
                         const std::function<void(std::optional<std::string>)>& done) {
    QNetworkRequest request(url);
    // The cap and the declared length count the bytes that come over the wire: nothing is
    // decompressed.
    request.setRawHeader("Accept-Encoding", "identity");
    auto* reply = network.get(request);
    // Qt stops reading the socket while this much lies unread.
    reply->setReadBufferSize(static_cast<qint64>(cap) + 1);
    auto received = std::make_shared<Received>();
    auto take = [reply, received, cap] {
        // An aborted reply has nothing more to read.
        if (received->capPassed || !reply->isOpen())
            return;
        const QByteArray bytes = reply->read(static_cast<qint64>(cap + 1 - received->body.size()));
        received->body.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        if (received->body.size() > cap) {
            received->capPassed = true;
            reply->abort();
        }
    };
    QObject::connect(reply, &QNetworkReply::readyRead, reply, take);
    // A deadline for the whole request: a body dripped a byte at a time does not keep it alive.
    QTimer::singleShot(deadline, reply, &QNetworkReply::abort);
    QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    QObject::connect(reply, &QNetworkReply::finished, context, [reply, received, take, done] {
        take();
        // Qt 6.4 ends a chunked body cut short without an error when the close comes with its
        // last bytes; nothing here can tell that from a whole one.
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        const RequestEnd end{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid(),
                             requestError(reply->error()),
                             length.isValid()
                                 ? std::optional(static_cast<std::size_t>(length.toULongLong()))
                                 : std::nullopt,
                             received->capPassed};
        done(httpAnswer(end, std::move(received->body)));
    });
}

} // namespace sentravex
