#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace sentravex {

// A path that is still there after it was to be removed, and why.
struct FailedPath {
    std::string path;
    std::string reason;
};

// The "Show Details" list of an alert: one line per path, the path then its reason in
// parentheses. Control characters in a name are shown escaped so that every entry keeps to its
// line; past `maxFailureLines` the rest is counted in a last line.
inline constexpr std::size_t maxFailureLines = 1000;
std::string failureDetailsText(const std::vector<FailedPath>& failures);

} // namespace sentravex
