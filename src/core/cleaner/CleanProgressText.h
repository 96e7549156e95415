#pragma once

#include "CleanReport.h"

#include <cstdint>
#include <string>

namespace sentravex {

// "1 entry", "12,345 entries".
std::string entriesText(std::uint64_t entries);

// The label of the clean's progress: what it is doing, then how much it has removed so far.
// Once the user asked to stop it says so, as the entry under way is still finished.
std::string cleanProgressText(const CleanTally& tally, bool stopping);

} // namespace sentravex
