#pragma once

#include <QFrame>

class QLabel;

namespace sentravex {

class CheckBox;

// A row of the detail table: the item's check box, name and size on a band that only heading
// rows show.
class ToolsSelectionCell : public QFrame {
    Q_OBJECT
public:
    explicit ToolsSelectionCell(QWidget* parent = nullptr);

    void setBandShown(bool shown);

    QFrame* backBox;
    QLabel* nameText;
    QLabel* sizeText;
    CheckBox* checkBox;
};

} // namespace sentravex
