#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace sentravex {

// Where the configuration server keeps the flag.
inline constexpr const char* kScanScopeFlagPath = "/quorvane.txt";
// The flag is one word: a longer body is not read to its end.
inline constexpr std::size_t kScanScopeFlagCap = 1024;

// The remote scan-scope flag: YES exactly when the document's body is the four bytes "true"
// (no trimming, case-sensitive). A failed fetch has no body and gives NO.
bool scanScopeFlag(std::optional<std::string_view> body);

} // namespace sentravex
