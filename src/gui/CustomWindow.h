#pragma once

#include <QPointer>
#include <QWidget>

class QSizeGrip;

namespace sentravex {

// The one window: no title bar of its own, content reaching to the edges with rounded corners,
// moved by dragging its background. Closing it only hides it; the application keeps running.
class CustomWindow : public QWidget {
    Q_OBJECT
public:
    explicit CustomWindow(QWidget* parent = nullptr);

    // Puts the controller's view in as the window's content.
    void setContentView(QWidget* view);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void awakeFromNib();
    void placeGrip();

    QPointer<QSizeGrip> grip_;
    QPoint dragOffset_;
    bool dragging_ = false;
};

} // namespace sentravex
