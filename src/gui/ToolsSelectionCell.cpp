#include "ToolsSelectionCell.h"

#include "CheckBox.h"
#include "ElidedLabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>

namespace sentravex {

ToolsSelectionCell::ToolsSelectionCell(QWidget* parent)
    : QFrame(parent), backBox(new QFrame), nameText(new ElidedLabel(Qt::ElideMiddle)),
      sizeText(new QLabel), checkBox(new CheckBox) {
    setObjectName(QStringLiteral("toolsSelectionCell"));
    backBox->setObjectName(QStringLiteral("backBox"));
    nameText->setObjectName(QStringLiteral("nameText"));
    sizeText->setObjectName(QStringLiteral("sizeText"));
    sizeText->setTextFormat(Qt::PlainText);
    checkBox->setObjectName(QStringLiteral("checkBox"));
    checkBox->setFocusPolicy(Qt::TabFocus);
    sizeText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* band = new QHBoxLayout(backBox);
    band->setContentsMargins(12, 0, 14, 0);
    band->setSpacing(12);
    band->addWidget(checkBox);
    band->addWidget(nameText, 1);
    band->addWidget(sizeText);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(4, 2, 4, 2);
    outer->addWidget(backBox);
    setBandShown(false);
}

void ToolsSelectionCell::setBandShown(bool shown) {
    if (backBox->property("band").toBool() == shown && backBox->property("band").isValid())
        return;
    backBox->setProperty("band", shown);
    // The style sheet keys the band's colour on the property, read at polish time.
    backBox->style()->unpolish(backBox);
    backBox->style()->polish(backBox);
}

} // namespace sentravex
