#pragma once

#include <QPointer>
#include <QWidget>

class QTableWidget;

namespace sentravex {

// The overlay over the window that holds a category's detail table. Clicks and scrolling that
// miss its panel stop here, so nothing beneath it reacts while it is open.
class SelectionView : public QWidget {
    Q_OBJECT
public:
    explicit SelectionView(QWidget* parent = nullptr);

    // The detail table inside; the view hierarchy owns it.
    QPointer<QTableWidget> table;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

} // namespace sentravex
