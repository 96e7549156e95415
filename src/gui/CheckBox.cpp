#include "CheckBox.h"

namespace sentravex {

CheckState CheckBox::state() const {
    switch (checkState()) {
    case Qt::Checked:
        return CheckState::On;
    case Qt::PartiallyChecked:
        return CheckState::Mixed;
    default:
        return CheckState::Off;
    }
}

void CheckBox::setState(CheckState state) {
    setCheckState(state == CheckState::On      ? Qt::Checked
                  : state == CheckState::Mixed ? Qt::PartiallyChecked
                                               : Qt::Unchecked);
}

void CheckBox::nextCheckState() {
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

} // namespace sentravex
