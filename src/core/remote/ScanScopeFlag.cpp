#include "ScanScopeFlag.h"

namespace sentravex {

bool scanScopeFlag(std::optional<std::string_view> body) {
    return body && *body == "true";
}

} // namespace sentravex
