#pragma once

#include "AlertService.h"

namespace sentravex {

// Alerts as message boxes: buttons in the order given, answering 1000 for the first, 1001 for
// the second and so on.
class QtAlertService : public AlertService {
public:
    long runModal(const AlertMessage& alert) override;
    void beginSheetModalForWindow(const AlertMessage& alert, QWidget* window,
                                  std::function<void(long)> completionHandler) override;
};

} // namespace sentravex
