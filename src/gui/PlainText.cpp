#include "PlainText.h"

namespace sentravex {

QString plainToolTip(const QString& text) {
    if (text.isEmpty())
        return {};
    return QStringLiteral("<qt><span style=\"white-space:pre\">%1</span></qt>")
        .arg(text.toHtmlEscaped());
}

} // namespace sentravex
