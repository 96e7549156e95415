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

// The result box after a removal run over `listed` records of which `removed` were removed and
// `remaining` were not. The counts are taken as they are: after a reset empties the list, the
// box reads "0 Threats Remaining".
ResultPanel resultPanelAfterRemoval(std::size_t listed, std::size_t removed, std::size_t remaining);

} // namespace sentravex
