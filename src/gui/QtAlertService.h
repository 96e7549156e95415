#pragma once

#include "AlertService.h"

#include <QPointer>

namespace sentravex {

// Alerts as the window's own dialogs: buttons in the order given, answering 1000 for the first,
// 1001 for the second and so on. Modal ones block the whole application but still appear over
// the window they were anchored to; sheets block only their window.
class QtAlertService : public AlertService {
public:
    // The widget whose window modal alerts appear over.
    void setAnchor(QWidget* anchor) { anchor_ = anchor; }

    long runModal(const AlertMessage& alert) override;
    void beginSheetModalForWindow(const AlertMessage& alert, QWidget* window,
                                  std::function<void(long)> completionHandler) override;

private:
    QPointer<QWidget> anchor_;
};

} // namespace sentravex
