#include "ToolsCell.h"

#include "CheckBox.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace sentravex {

ToolsCell::ToolsCell(QWidget* parent)
    : QFrame(parent), imageIcon(new QLabel), checkBox(new CheckBox), nameText(new QLabel),
      sizeText(new QLabel), detailsText(new QLabel), detailsButton(new QPushButton(tr("Details"))) {
    setObjectName(QStringLiteral("toolsCell"));
    imageIcon->setObjectName(QStringLiteral("imageIcon"));
    checkBox->setObjectName(QStringLiteral("checkBox"));
    nameText->setObjectName(QStringLiteral("nameText"));
    sizeText->setObjectName(QStringLiteral("sizeText"));
    detailsText->setObjectName(QStringLiteral("detailsText"));
    detailsButton->setObjectName(QStringLiteral("detailsButton"));
    checkBox->setFocusPolicy(Qt::NoFocus);
    detailsButton->setFocusPolicy(Qt::NoFocus);

    imageIcon->setFixedSize(44, 44);
    imageIcon->setAlignment(Qt::AlignCenter);
    // The detail line is long for some applications: it gives way rather than widen the row.
    detailsText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    sizeText->setMinimumWidth(80);
    sizeText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    texts->addStretch();
    texts->addWidget(nameText);
    texts->addWidget(detailsText);
    texts->addStretch();

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(16, 0, 16, 0);
    row->setSpacing(14);
    row->addWidget(checkBox);
    row->addWidget(imageIcon);
    row->addLayout(texts, 1);
    row->addWidget(sizeText);
    row->addWidget(detailsButton);
    detailsText->installEventFilter(this);
}

void ToolsCell::setDetails(const QString& line) {
    details_ = line;
    detailsText->setToolTip(line);
    elideDetails();
}

bool ToolsCell::eventFilter(QObject* watched, QEvent* event) {
    if (watched == detailsText && event->type() == QEvent::Resize)
        elideDetails();
    return QFrame::eventFilter(watched, event);
}

void ToolsCell::elideDetails() {
    detailsText->setText(
        detailsText->fontMetrics().elidedText(details_, Qt::ElideRight, detailsText->width()));
}

} // namespace sentravex
