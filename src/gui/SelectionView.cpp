#include "SelectionView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace sentravex {

SelectionView::SelectionView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NoMousePropagation);
}

void SelectionView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(0.2f, 0.2f, 0.2f, 0.8f));
}

void SelectionView::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void SelectionView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void SelectionView::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void SelectionView::wheelEvent(QWheelEvent* event) {
    event->accept();
}

} // namespace sentravex
