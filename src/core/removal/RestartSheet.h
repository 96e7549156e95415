#pragma once

#include <string_view>

namespace sentravex::restartSheet {

// The alert a removal that left nothing ends with, shown as a sheet on the window.
inline constexpr std::string_view message =
    "All threats have been removed. Please restart your system to finish removing Quorvane";
inline constexpr std::string_view restartButton = "Restart"; // first button
inline constexpr std::string_view noButton = "No";           // second button
inline constexpr long restartResponse = 1000;                // the first button's response

} // namespace sentravex::restartSheet
