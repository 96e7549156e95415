#include "QtAlertService.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

namespace sentravex {
namespace {

// The first button accepts; the others are plain actions, so that neither Escape nor the
// window's close button answers in the user's place.
// Answers the buttons in the order added.
QList<QAbstractButton*> setUp(QMessageBox& box, const AlertMessage& alert) {
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(QString::fromStdString(alert.messageText));
    box.setText(QString::fromStdString(alert.messageText));
    box.setInformativeText(QString::fromStdString(alert.informativeText));
    QList<QAbstractButton*> buttons;
    auto add = [&](const QString& title, QMessageBox::ButtonRole role) {
        QAbstractButton* button = box.addButton(title, role);
        buttons.push_back(button);
    };
    if (alert.buttons.empty())
        add(QStringLiteral("OK"), QMessageBox::AcceptRole);
    for (std::size_t i = 0; i < alert.buttons.size(); ++i)
        add(QString::fromStdString(alert.buttons[i]),
            i == 0 ? QMessageBox::AcceptRole : QMessageBox::ActionRole);
    return buttons;
}

long responseOf(const QList<QAbstractButton*>& buttons, QAbstractButton* clicked) {
    const auto index = buttons.indexOf(clicked);
    return kAlertFirstButtonReturn + (index < 0 ? 0 : index);
}

} // namespace

long QtAlertService::runModal(const AlertMessage& alert) {
    QMessageBox box;
    const auto buttons = setUp(box, alert);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return responseOf(buttons, box.clickedButton());
}

void QtAlertService::beginSheetModalForWindow(const AlertMessage& alert, QWidget* window,
                                              std::function<void(long)> completionHandler) {
    auto* box = new QMessageBox(window);
    const auto buttons = setUp(*box, alert);
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::buttonClicked, box,
                     [buttons, handler = std::move(completionHandler)](QAbstractButton* clicked) {
                         handler(responseOf(buttons, clicked));
                     });
    box->open();
}

} // namespace sentravex
