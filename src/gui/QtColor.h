#pragma once

#include "platform/Color.h"

#include <QColor>

namespace sentravex {

inline QColor toQColor(const Color& c) {
    return QColor::fromRgbF(static_cast<float>(c.red / 255), static_cast<float>(c.green / 255),
                            static_cast<float>(c.blue / 255), static_cast<float>(c.alpha / 255));
}

} // namespace sentravex
