#pragma once

#include "cleaner/CleanReport.h"

#include <string>

namespace sentravex {

// The alert after the cleaner deleted a selection. The success text is kept for a clean in
// which nothing failed; otherwise the alert says how many paths are still there.
inline constexpr const char* cleanAlertMessage = "Alert";
std::string cleanAlertText(const CleanReport& report);

} // namespace sentravex
