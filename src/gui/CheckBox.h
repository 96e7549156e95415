#pragma once

#include "cleaner/CheckState.h"

#include <QCheckBox>

namespace sentravex {

// A check box that can show the mixed state but that a click only ever turns on or off: off and
// mixed go on, on goes off. It draws its own box, so that on, off, mixed, disabled and focused
// each look their part whatever the style.
class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CheckBox(QWidget* parent = nullptr) : QCheckBox(parent) {}

    CheckState state() const;
    void setState(CheckState state);

protected:
    void nextCheckState() override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace sentravex
