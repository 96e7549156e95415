#include "TableHeights.h"

#include <algorithm>

namespace sentravex {

int categoryTableHeight(std::size_t categories) {
    if (categories == 0)
        return 91;
    if (categories >= 6)
        return 389;
    return 75 * static_cast<int>(categories) + 15;
}

int categoryTableMinimumHeight(std::size_t categories) {
    return std::min(categoryTableHeight(categories), categoryTableHeight(2));
}

bool categoryTableHidden(std::size_t categories) {
    return categories == 0;
}

int selectionRowHeight(bool grouped) {
    return grouped ? 36 : 50;
}

int selectionTableHeight(std::size_t items, bool grouped) {
    const std::size_t shown = std::min<std::size_t>(items, grouped ? 6 : 4);
    return static_cast<int>(shown) * selectionRowHeight(grouped) + 2;
}

} // namespace sentravex
