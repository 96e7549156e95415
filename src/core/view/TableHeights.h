#pragma once

#include <cstddef>

namespace sentravex {

// Height of the category table for `categories` rows: a 75-point row each plus a 15-point
// margin, capped just under five rows' worth so a long list scrolls; 91 while the table is
// hidden because the list is empty.
int categoryTableHeight(std::size_t categories);
// In a window too short for that height the table gives way, down to two rows' worth, and
// scrolls; the rows below it are never covered.
int categoryTableMinimumHeight(std::size_t categories);
bool categoryTableHidden(std::size_t categories);

// Row height and visible height of the detail table: the grouped list packs more, shorter rows.
int selectionRowHeight(bool grouped);
int selectionTableHeight(std::size_t items, bool grouped);

} // namespace sentravex
