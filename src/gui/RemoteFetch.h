#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

class QNetworkAccessManager;
class QObject;
class QUrl;

namespace sentravex {

// One GET of a small document from the configuration server. The whole request ends within
// `deadline`, and it is aborted once more than `cap` bytes of body have come. `done` runs on the
// main thread with the body when the answer is whole (httpAnswer), none otherwise; it never runs
// once `context` is gone.
void fetchRemoteDocument(QNetworkAccessManager& network, const QUrl& url, std::size_t cap,
                         std::chrono::milliseconds deadline, QObject* context,
                         const std::function<void(std::optional<std::string>)>& done);

} // namespace sentravex
