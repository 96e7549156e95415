#pragma once

#include "platform/Color.h"

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

// Which parts of a result box are set when it is applied.
struct PanelParts {
    bool text = true;
    bool color = true;
    bool image = true;
    bool buttonTitle = true;
    friend constexpr bool operator==(const PanelParts&, const PanelParts&) = default;
};

// A window resize sets the result box again: after a removal everything but the button title
// (the removal keeps the title it chose), otherwise everything but the icon.
PanelParts partsReappliedOnResize(bool isQurantinePressed);

} // namespace sentravex
