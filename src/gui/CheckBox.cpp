#include "CheckBox.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>

namespace sentravex {
namespace {

// The window's colours: its red for a box that is on or mixed, greys for one that cannot be
// used, so a disabled box never passes for an empty one that can.
const QColor accent(0xbc, 0x3c, 0x3c);
const QColor border(0x9a, 0xa0, 0xaa);
const QColor disabledFill(0xee, 0xf0, 0xf3);
const QColor disabledBorder(0xd6, 0xd9, 0xde);
const QColor disabledMark(0xa4, 0xa9, 0xb1);
const QColor focusRing(0x3b, 0x82, 0xf6);

} // namespace

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

void CheckBox::paintEvent(QPaintEvent*) {
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    // The box leaves room within the indicator for the focus ring around it.
    const qreal side = std::min({indicator.width(), indicator.height(), 22}) - 6;
    const QRectF box(QPointF(indicator.center()) + QPointF(0.5 - side / 2, 0.5 - side / 2),
                     QSizeF(side, side));

    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool enabled = isEnabled();
    const bool marked = checkState() != Qt::Unchecked;
    if (hasFocus()) {
        p.setPen(QPen(focusRing, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(box.adjusted(-2, -2, 2, 2), 5.5, 5.5);
    }
    const QColor fill = !enabled ? disabledFill : marked ? accent : QColor(Qt::white);
    const QColor edge = !enabled ? disabledBorder : marked ? accent : border;
    p.setPen(QPen(underMouse() && enabled ? edge.darker(130) : edge, 1.2));
    p.setBrush(fill);
    p.drawRoundedRect(box, 3.5, 3.5);
    if (!marked)
        return;

    p.setPen(QPen(enabled ? QColor(Qt::white) : disabledMark, 2, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const qreal x = box.left(), y = box.top(), w = box.width(), h = box.height();
    if (checkState() == Qt::PartiallyChecked) {
        p.drawLine(QPointF(x + w * 0.27, y + h * 0.5), QPointF(x + w * 0.73, y + h * 0.5));
        return;
    }
    QPainterPath tick;
    tick.moveTo(x + w * 0.24, y + h * 0.52);
    tick.lineTo(x + w * 0.43, y + h * 0.7);
    tick.lineTo(x + w * 0.77, y + h * 0.32);
    p.drawPath(tick);
}

} // namespace sentravex
