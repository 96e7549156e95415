#pragma once

#include "cleaner/CheckState.h"

#include <QCheckBox>

namespace sentravex {

// A check box that can show the mixed state but that a click only ever turns on or off: off and
// mixed go on, on goes off.
class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CheckBox(QWidget* parent = nullptr) : QCheckBox(parent) {}

    CheckState state() const;
    void setState(CheckState state);

protected:
    void nextCheckState() override;
};

} // namespace sentravex
