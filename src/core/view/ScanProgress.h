#pragma once

#include <cstddef>
#include <string>

namespace sentravex {

// The texts of one progress step. The step number is shown as it is, not scaled, so a scan with
// several location finds passes 100%.
std::string progressPercentText(int step);

// "Scanning Entry:  Malware." followed by the step's text; the prefix is set in bold.
std::string scanningEntryText(const std::string& stepText);
inline constexpr std::size_t scanningEntryBoldLength = 15; // "Scanning Entry:"

} // namespace sentravex
