#include "FillBox.h"

#include <QPainter>

namespace sentravex {

void FillBox::setFillColor(const QColor& color) {
    fill_ = color;
    update();
}

void FillBox::paintEvent(QPaintEvent* event) {
    if (fill_.alpha() > 0) {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(fill_);
        p.drawRoundedRect(QRectF(rect()), 10, 10);
    }
    QFrame::paintEvent(event);
}

} // namespace sentravex
