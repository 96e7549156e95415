#pragma once

#include "access/AlertPanel.h"

#include <QDialog>
#include <QList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace sentravex {

// An alert in the window's own look, placed over the window it belongs to: a bold heading, the
// sentence beneath it on as few lines as fit, an optional "Show Details" text and the buttons,
// the first one (rightmost) answering Return. Closing it counts as pressing a button only when
// it has a single one, so that Escape never answers a question in the user's place.
class AlertDialog : public QDialog {
    Q_OBJECT
public:
    AlertDialog(const AlertMessage& alert, QWidget* window);

    // 1000 for the first button, 1001 for the second and so on; 0 before any was pressed.
    long response() const { return response_; }

    QPushButton* button(int index) const { return buttons_.value(index); }
    QPushButton* detailsButton() const { return detailsButton_; }
    QPlainTextEdit* detailsText() const { return details_; }

public slots:
    void reject() override;

private:
    void setDetailsShown(bool shown);

    QList<QPushButton*> buttons_;
    QPushButton* detailsButton_ = nullptr;
    QPlainTextEdit* details_ = nullptr;
    long response_ = 0;
};

} // namespace sentravex
