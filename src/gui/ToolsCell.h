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

    QLabel* imageIcon;
    CheckBox* checkBox;
    QLabel* nameText;
    QLabel* sizeText;
    QLabel* detailsText;
    QPushButton* detailsButton;
};

} // namespace sentravex
