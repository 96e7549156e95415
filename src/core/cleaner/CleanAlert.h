#pragma once

#include "CleanReport.h"
#include "RunningOwners.h"

#include <string>
#include <vector>

namespace sentravex {

// The alert after the cleaner deleted a selection. The success text is kept for a clean in
// which nothing failed and that ran to its end; otherwise the alert says how many paths are still
// there, and after a stop how much was removed before it. It ends naming the applications whose
// data was left out because they would not quit.
inline constexpr const char* cleanAlertMessage = "Alert";
std::string cleanAlertText(const CleanReport& report,
                           const std::vector<RunningOwner>& stillRunning = {});

// Its "Show Details" list: every path that could not be removed, with the reason; empty when
// nothing failed.
std::string cleanAlertDetails(const CleanReport& report);

} // namespace sentravex
