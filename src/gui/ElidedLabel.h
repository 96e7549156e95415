#pragma once

#include <QLabel>

namespace sentravex {

// A one-line label that shows as much of its text as fits, cut with an ellipsis where its mode
// says; the whole text stays its text and its tooltip, both shown as plain text. It never widens
// its row.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(Qt::TextElideMode mode, QWidget* parent = nullptr);

    // Sets the text and the tooltip together.
    void setFullText(const QString& text);
    // What is on screen at the current width.
    QString shownText() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::TextElideMode mode_;
};

} // namespace sentravex
