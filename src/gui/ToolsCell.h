#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

namespace sentravex {

class CheckBox;
class ElidedLabel;

// A row of the category table: the application's icon, name and detail line, the size, the
// check box and the button that opens the category's items. Name and detail line give way to a
// narrow row with an ellipsis; their tooltips keep them whole.
class ToolsCell : public QFrame {
    Q_OBJECT
public:
    explicit ToolsCell(QWidget* parent = nullptr);

    QLabel* imageIcon;
    CheckBox* checkBox;
    ElidedLabel* nameText;
    QLabel* sizeText;
    ElidedLabel* detailsText;
    QPushButton* detailsButton;
};

} // namespace sentravex
