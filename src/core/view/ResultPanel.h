#pragma once

#include "Color.h"

#include <cstddef>
#include <string>

namespace sentravex {

// What the result box shows: its summary line, fill colour, icon and main button title.
struct ResultPanel {
    std::string text;
    Color color;
    std::string image;
    std::string buttonTitle;
};

// The result box when a scan has found `threats` records.
ResultPanel resultPanelAfterScan(std::size_t threats);

} // namespace sentravex
