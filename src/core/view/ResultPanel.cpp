#include "ResultPanel.h"

namespace sentravex {

ResultPanel resultPanelAfterScan(std::size_t threats) {
    if (threats == 0)
        return {"No Threats Found", colors::successGreen, "icn_white_check", "Quit"};
    std::string text = std::to_string(threats) + (threats == 1 ? " Potential Threat Detected"
                                                               : " Potential Threats Detected");
    return {std::move(text), colors::alertRed, "icn_white_cross", "Quarantine >"};
}

ResultPanel resultPanelAfterRemoval(std::size_t listed, std::size_t removed,
                                    std::size_t remaining) {
    if (removed == listed)
        return {"All Threats have been Removed", colors::successGreen, "icn_white_check", "Quit"};
    std::string text =
        std::to_string(remaining) + (remaining == 1 ? " Threat Remaining" : " Threats Remaining");
    return {std::move(text), colors::alertRed, "icn_white_cross", "Quarantine >"};
}

PanelParts partsReappliedOnResize(bool isQurantinePressed) {
    if (isQurantinePressed)
        return {.text = true, .color = true, .image = true, .buttonTitle = false};
    return {.text = true, .color = true, .image = false, .buttonTitle = true};
}

} // namespace sentravex
