#include "ToolsCell.h"

#include "CheckBox.h"
#include "ElidedLabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace sentravex {

ToolsCell::ToolsCell(QWidget* parent)
    : QFrame(parent), imageIcon(new QLabel), checkBox(new CheckBox),
      nameText(new ElidedLabel(Qt::ElideMiddle)), sizeText(new QLabel),
      detailsText(new ElidedLabel(Qt::ElideRight)), detailsButton(new QPushButton(tr("Details"))) {
    setObjectName(QStringLiteral("toolsCell"));
    imageIcon->setObjectName(QStringLiteral("imageIcon"));
    checkBox->setObjectName(QStringLiteral("checkBox"));
    nameText->setObjectName(QStringLiteral("nameText"));
    sizeText->setObjectName(QStringLiteral("sizeText"));
    sizeText->setTextFormat(Qt::PlainText);
    detailsText->setObjectName(QStringLiteral("detailsText"));
    detailsButton->setObjectName(QStringLiteral("detailsButton"));
    // Reached with Tab, not taken by a click.
    checkBox->setFocusPolicy(Qt::TabFocus);
    detailsButton->setFocusPolicy(Qt::TabFocus);
    detailsButton->setAutoDefault(false);

    imageIcon->setFixedSize(44, 44);
    imageIcon->setAlignment(Qt::AlignCenter);
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
}

} // namespace sentravex
