#pragma once

#include "scan/Quorvane.h"

#include <vector>

namespace sentravex {

// Whether the show-in-file-viewer button is enabled for the threat table's selected row
// (negative: none): only for a selected record that is not deleted.
bool btnShowInFinderEnabled(const std::vector<QuorvanePtr>& arrQuorvaneList, long selectedRow);

} // namespace sentravex
