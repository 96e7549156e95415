#include "ResultPanel.h"

namespace sentravex {

ResultPanel resultPanelAfterScan(std::size_t threats) {
    if (threats == 0)
        return {"No Threats Found", colors::successGreen, "icn_white_check", "Quit"};
    std::string text = std::to_string(threats) +
                       (threats == 1 ? " Potential Threat Detected" : " Potential Threats Detected");
    return {std::move(text), colors::alertRed, "icn_white_cross", "Quarantine >"};
}

PanelParts partsReappliedOnResize(bool isQurantinePressed) {
    if (isQurantinePressed)
        return {.text = true, .color = true, .image = true, .buttonTitle = false};
    return {.text = true, .color = true, .image = false, .buttonTitle = true};
}

} // namespace sentravex
