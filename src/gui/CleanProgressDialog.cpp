#include "CleanProgressDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace sentravex {

CleanProgressDialog::CleanProgressDialog(QWidget* window)
    : QDialog(window), text_(new QLabel), cancel_(new QPushButton(tr("Cancel"))) {
    setObjectName(QStringLiteral("cleanProgress"));
    setWindowTitle(tr("Privacy Cleaner"));
    setAttribute(Qt::WA_StyledBackground);
    setFocusPolicy(Qt::ClickFocus);
    text_->setObjectName(QStringLiteral("cleanProgressText"));
    text_->setTextFormat(Qt::PlainText);
    cancel_->setObjectName(QStringLiteral("cleanCancelButton"));
    // Return must not stop a clean by accident: only a deliberate press or Escape does.
    cancel_->setAutoDefault(false);
    auto* bar = new QProgressBar;
    bar->setObjectName(QStringLiteral("cleanProgressBar"));
    bar->setRange(0, 0);
    bar->setTextVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 18);
    layout->setSpacing(12);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(text_);
    layout->addWidget(bar);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(cancel_);
    layout->addLayout(row);
    text_->setMinimumWidth(360);
    connect(cancel_, &QPushButton::clicked, this, &CleanProgressDialog::cancelRequested);
}

void CleanProgressDialog::setText(const QString& text) {
    text_->setText(text);
}

QString CleanProgressDialog::text() const {
    return text_->text();
}

void CleanProgressDialog::reject() {
    emit cancelRequested();
}

// The dialog keeps the focus itself, so that its button does not look pressed before anyone
// has reached it.
void CleanProgressDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setFocus();
}

} // namespace sentravex
