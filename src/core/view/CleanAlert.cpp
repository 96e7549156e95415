#include "CleanAlert.h"

namespace sentravex {

std::string cleanAlertText(const CleanReport& report) {
    const auto failed = report.failed.size();
    if (failed == 0)
        return "You have successfully cleared selected data.";
    return std::to_string(failed) + (failed == 1 ? " path" : " paths") +
           " could not be removed; the rest of the selected data was cleared.";
}

} // namespace sentravex
