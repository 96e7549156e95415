#pragma once

#include <optional>
#include <string_view>

namespace sentravex {

// The remote scan-scope flag: YES exactly when the document's body is the four bytes "true"
// (no trimming, case-sensitive). A failed fetch has no body and gives NO.
bool scanScopeFlag(std::optional<std::string_view> body);

} // namespace sentravex
