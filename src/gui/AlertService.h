#pragma once

#include "access/AlertPanel.h"

#include <functional>

class QWidget;

namespace sentravex {

// Alerts of the window: modal ones, which answer the pressed button's response code, and sheets
// hung from a window, which return at once and hand the response to a handler later.
class AlertService : public AlertPanel {
public:
    virtual void beginSheetModalForWindow(const AlertMessage& alert, QWidget* window,
                                          std::function<void(long)> completionHandler) = 0;
};

} // namespace sentravex
