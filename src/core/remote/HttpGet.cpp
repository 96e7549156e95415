#include "HttpGet.h"

#include <httplib.h>

namespace sentravex {

std::optional<std::string> httpGet(const std::string& server, const std::string& path) {
    httplib::Client client(server);
    // A server that never answers must not hold a check for minutes.
    client.set_connection_timeout(10);
    client.set_read_timeout(10);
    auto response = client.Get(path);
    if (!response)
        return std::nullopt;
    return response->body;
}

} // namespace sentravex
