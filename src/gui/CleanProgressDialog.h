#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace sentravex {

// The clean's progress over the window: what has been removed so far and a button that stops
// the clean. Escape and closing it ask to stop as well; it stays up until its owner closes it,
// so the window takes no input while the last entry is finished.
class CleanProgressDialog : public QDialog {
    Q_OBJECT
public:
    explicit CleanProgressDialog(QWidget* window);

    void setText(const QString& text);
    QString text() const;
    QPushButton* cancelButton() const { return cancel_; }

signals:
    void cancelRequested();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* text_;
    QPushButton* cancel_;
};

} // namespace sentravex
