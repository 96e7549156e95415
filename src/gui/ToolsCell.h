#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

namespace sentravex {

class CheckBox;

// A row of the category table: the application's icon, name and detail line, the size, the
// check box and the button that opens the category's items.
class ToolsCell : public QFrame {
    Q_OBJECT
public:
    explicit ToolsCell(QWidget* parent = nullptr);

    // The detail line, cut short with an ellipsis where the row is too narrow for it; the
    // tooltip keeps it whole.
    void setDetails(const QString& line);
    QString details() const { return details_; }

    QLabel* imageIcon;
    CheckBox* checkBox;
    QLabel* nameText;
    QLabel* sizeText;
    QLabel* detailsText;
    QPushButton* detailsButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void elideDetails();

    QString details_;
};

} // namespace sentravex
