#pragma once

#include <QColor>
#include <QFrame>

namespace sentravex {

// A box painted in one fill colour with rounded corners.
class FillBox : public QFrame {
    Q_OBJECT
public:
    using QFrame::QFrame;

    QColor fillColor() const { return fill_; }
    void setFillColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_ = Qt::transparent;
};

} // namespace sentravex
