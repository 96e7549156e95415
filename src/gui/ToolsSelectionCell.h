#pragma once

#include <QFrame>

class QLabel;

namespace sentravex {

class CheckBox;
class ElidedLabel;

// A row of the detail table: the item's check box, name and size on a band that only heading
// rows show. A long name is cut in the middle; its tooltip keeps it whole.
class ToolsSelectionCell : public QFrame {
    Q_OBJECT
public:
    explicit ToolsSelectionCell(QWidget* parent = nullptr);

    void setBandShown(bool shown);

    QFrame* backBox;
    ElidedLabel* nameText;
    QLabel* sizeText;
    CheckBox* checkBox;
};

} // namespace sentravex
