#include "QtAlertService.h"

#include "AlertDialog.h"

namespace sentravex {

long QtAlertService::runModal(const AlertMessage& alert) {
    AlertDialog box(alert, anchor_ ? anchor_->window() : nullptr);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return box.response();
}

void QtAlertService::beginSheetModalForWindow(const AlertMessage& alert, QWidget* window,
                                              std::function<void(long)> completionHandler) {
    auto* box = new AlertDialog(alert, window);
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QDialog::finished, box,
                     [box, handler = std::move(completionHandler)] { handler(box->response()); });
    box->open();
}

} // namespace sentravex
