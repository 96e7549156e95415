#pragma once

#include <string>
#include <vector>

namespace sentravex {

// Response codes of an alert's buttons, in the order they were added.
inline constexpr long kAlertFirstButtonReturn = 1000;
inline constexpr long kAlertSecondButtonReturn = 1001;

struct AlertMessage {
    std::string messageText;
    std::string informativeText;
    std::vector<std::string> buttons; // none: a single "OK"
    // A longer text behind a "Show Details" button, open from the start when `detailsShown`.
    std::string details{};
    bool detailsShown = false;
};

// A modal alert, shown by the window; answers the pressed button's response code.
class AlertPanel {
public:
    virtual ~AlertPanel() = default;
    virtual long runModal(const AlertMessage& alert) = 0;
};

} // namespace sentravex
