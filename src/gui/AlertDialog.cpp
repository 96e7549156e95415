#include "AlertDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

namespace sentravex {
namespace {

// A sentence up to this wide stays on one line; a longer one wraps at this width.
constexpr int minTextWidth = 320;
constexpr int maxTextWidth = 520;
constexpr int detailsWidth = 600;

QLabel* textLabel(const QString& text, const char* name) {
    auto* label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// A word-wrapping label takes the width its text needs, within bounds, instead of the narrow
// one a layout would give it.
void fitWidth(QLabel* label) {
    const int width = label->fontMetrics().horizontalAdvance(label->text()) + 2;
    label->setMinimumWidth(std::clamp(width, minTextWidth, maxTextWidth));
}

} // namespace

AlertDialog::AlertDialog(const AlertMessage& alert, QWidget* window) : QDialog(window) {
    setObjectName(QStringLiteral("alertDialog"));
    setWindowTitle(QStringLiteral("Sentravex"));
    setAttribute(Qt::WA_StyledBackground);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 18);
    layout->setSpacing(10);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    auto* heading = textLabel(QString::fromStdString(alert.messageText), "alertHeading");
    auto* text = textLabel(QString::fromStdString(alert.informativeText), "alertText");
    layout->addWidget(heading);
    layout->addWidget(text);
    text->setHidden(alert.informativeText.empty());
    // Measured in the fonts the window's style sheet gives them.
    for (auto* label : {heading, text}) {
        label->ensurePolished();
        fitWidth(label);
    }

    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    if (!alert.details.empty()) {
        details_ = new QPlainTextEdit(QString::fromStdString(alert.details));
        details_->setObjectName(QStringLiteral("alertDetails"));
        details_->setReadOnly(true);
        details_->setLineWrapMode(QPlainTextEdit::NoWrap);
        // As tall as its lines, up to a dozen; a longer list scrolls.
        const int lines = std::min<int>(12, details_->document()->lineCount());
        details_->setMinimumWidth(detailsWidth);
        details_->setFixedHeight(lines * details_->fontMetrics().lineSpacing() + 24);
        layout->addWidget(details_);
        detailsButton_ = new QPushButton;
        detailsButton_->setObjectName(QStringLiteral("alertDetailsButton"));
        detailsButton_->setAutoDefault(false);
        connect(detailsButton_, &QPushButton::clicked, this,
                [this] { setDetailsShown(details_->isHidden()); });
        row->addWidget(detailsButton_);
        setDetailsShown(alert.detailsShown);
    }
    row->addStretch(1);
    layout->addSpacing(6);
    layout->addLayout(row);

    std::vector<std::string> titles = alert.buttons;
    if (titles.empty())
        titles.emplace_back("OK");
    for (std::size_t i = 0; i < titles.size(); ++i) {
        auto* button = new QPushButton(QString::fromStdString(titles[i]));
        button->setObjectName(i == 0 ? QStringLiteral("alertDefaultButton")
                                     : QStringLiteral("alertButton"));
        button->setAutoDefault(i == 0);
        button->setDefault(i == 0);
        const long code = kAlertFirstButtonReturn + static_cast<long>(i);
        connect(button, &QPushButton::clicked, this, [this, code] {
            response_ = code;
            done(static_cast<int>(code));
        });
        buttons_.push_back(button);
        // The first button sits rightmost, the others leftwards in order.
        row->insertWidget(row->count() - static_cast<int>(i), button);
    }
    buttons_.front()->setFocus();
}

void AlertDialog::setDetailsShown(bool shown) {
    details_->setHidden(!shown);
    detailsButton_->setText(shown ? tr("Hide Details") : tr("Show Details"));
    adjustSize();
}

void AlertDialog::reject() {
    if (buttons_.size() == 1)
        buttons_.front()->click();
}

} // namespace sentravex
