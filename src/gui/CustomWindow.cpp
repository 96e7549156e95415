#include "CustomWindow.h"

#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QSizeGrip>
#include <QVBoxLayout>
#include <QWindow>

namespace sentravex {
namespace {
constexpr qreal cornerRadius = 4.0;
constexpr int gripSize = 14;
} // namespace

CustomWindow::CustomWindow(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    awakeFromNib();
}

void CustomWindow::awakeFromNib() {
    setWindowTitle(QStringLiteral("Sentravex"));
    setWindowFlag(Qt::FramelessWindowHint);     // the content reaches to the top edge
    setAttribute(Qt::WA_TranslucentBackground); // not opaque: the rounded corners show through
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xf3, 0xf4, 0xf6));
    setPalette(pal);
    QFile style(QStringLiteral(":/style.qss"));
    if (style.open(QIODevice::ReadOnly))
        setStyleSheet(QString::fromUtf8(style.readAll()));
}

void CustomWindow::setContentView(QWidget* view) {
    layout()->addWidget(view);
    // The grip lies over the content's corner instead of taking a strip of its own, so the
    // content, and any overlay it raises, reaches every edge.
    grip_ = new QSizeGrip(this);
    grip_->setFixedSize(gripSize, gripSize);
    placeGrip();
}

void CustomWindow::placeGrip() {
    if (!grip_)
        return;
    grip_->move(width() - gripSize, height() - gripSize);
    grip_->raise();
}

void CustomWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeGrip();
}

void CustomWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(palette().window());
    p.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
}

// Background presses reach the window only where no control took them.
void CustomWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CustomWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - dragOffset_);
}

} // namespace sentravex
