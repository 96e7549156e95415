#pragma once

#include <optional>
#include <string>

namespace sentravex {

// A plain GET of one path on a server given as "http://host:port". Answers the body whatever the
// status, or none when no answer came (no connection, or the time limit passed).
std::optional<std::string> httpGet(const std::string& server, const std::string& path);

} // namespace sentravex
