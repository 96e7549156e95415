#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>

namespace sentravex {

// Where the configuration server keeps the list of approved versions.
inline constexpr const char* kVersionConfigPath = "/QuorvaneConfig.xml";
// The document is a few lines; a longer one is not read to its end.
inline constexpr std::size_t kVersionDocumentCap = 1 << 20;
// The running build's version, compared as written with the document's "version_number".
inline constexpr const char* kRunningVersion = SENTRAVEX_VERSION;

// What a fetched configuration document says about a version: the first "item" whose
// "version_number" is exactly `currentVersion` decides, and only a "review_completed" of exactly
// "true" approves. No body (the request failed) or an empty one answers none: the published flag
// keeps its value. Any other body writes the predicate line to the log and answers true or false.
std::optional<bool> versionApproval(const std::string& currentVersion,
                                    const std::optional<std::string>& body, std::ostream& log);

} // namespace sentravex
