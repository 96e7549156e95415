#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace sentravex {

// Where the configuration server keeps the list of approved versions.
inline constexpr const char* kVersionConfigPath = "/QuorvaneConfig.xml";
// The running build's version, compared as written with the document's "version_number".
inline constexpr const char* kRunningVersion = SENTRAVEX_VERSION;

// What a fetched configuration document says about a version: the first "item" whose
// "version_number" is exactly `currentVersion` decides, and only a "review_completed" of exactly
// "true" approves. No body (the request failed) or an empty one answers none: the published flag
// keeps its value. Any other body writes the predicate line to the log and answers true or false.
std::optional<bool> versionApproval(const std::string& currentVersion,
                                    const std::optional<std::string>& body, std::ostream& log);

// The whole check: fetches the document from the server ("http://host:port") and decides.
// Blocks until the answer or a connection error, so the window runs it off its main thread.
std::optional<bool> checkVersionApprove(const std::string& server,
                                        const std::string& currentVersion, std::ostream& log);

} // namespace sentravex
