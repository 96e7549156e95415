#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace sentravex {

// A request to the configuration server ends by then, answered or not: the whole request, not a
// pause between two bytes.
inline constexpr std::chrono::seconds kRequestDeadline{15};

// How a request went wrong, as far as trusting its body goes.
enum class RequestError {
    None,
    // The server answered with an error status (404, 500…): it still sent a body to judge.
    HttpStatus,
    // No whole exchange: refused, reset, cut short, timed out or aborted.
    Transport,
};

// What the network layer knows once a request has ended.
struct RequestEnd {
    bool hasStatus = false; // a status line arrived
    RequestError error = RequestError::None;
    std::optional<std::size_t> declaredLength; // the Content-Length the server gave
    bool capPassed = false;                    // more body than allowed arrived
};

// The body a request answers, or none. Only an exchange that got its status, had no transport
// error, stayed within the cap and received as many bytes as it declared answers its body,
// whatever the status.
std::optional<std::string> httpAnswer(const RequestEnd& end, std::string body);

} // namespace sentravex
