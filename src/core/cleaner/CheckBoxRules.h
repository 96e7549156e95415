#pragma once

#include "CleanerCategory.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace sentravex {

// How the check boxes of the category and detail tables change the categories and items. The
// window applies these to its widgets; the command line applies them to its selections.

// A category's check box was clicked into `sender`: a mixed box turns on and every item of the
// category follows it. Returns the box's new state.
CheckState checkCategory(CleanerCategory& category, CheckState sender);

// The check box of the item at `row` was clicked into `sender`. Rows are told apart by place:
// names repeat (the same add-on in two profiles). In a grouped list a heading row carries its
// group along, and an ordinary row sets its heading row to on, off or mixed. Returns the box's
// new state; none when the row is out of range.
std::optional<CheckState> checkItem(CleanerCategory& category, std::size_t row, CheckState sender);

// The category's state once its detail table closes: on when every item is on, off when none
// is, mixed otherwise.
CheckState categoryStateFromItems(const CleanerCategory& category);

// The remove button is usable when any category is on or mixed.
bool removeButtonEnabled(const std::vector<CleanerCategory>& categories);

} // namespace sentravex
