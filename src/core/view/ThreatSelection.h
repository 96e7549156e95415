#pragma once

#include "platform/Root.h"
#include "scan/Quorvane.h"

#include <optional>
#include <string>
#include <vector>

namespace sentravex {

// Whether the show-in-file-viewer button is enabled for the threat table's selected row
// (negative: none): only for a selected record that is not deleted.
bool btnShowInFinderEnabled(const std::vector<QuorvanePtr>& arrQuorvaneList, long selectedRow);

// The file on this machine that show-in-file-viewer selects for the record of the row last
// selected (`quorvaneFile`): linked folders on the way are resolved inside the root, and the
// record itself is shown even when it is a link. Nothing without a record.
std::optional<std::string> showInFinderTarget(const Root& root, const QuorvanePtr& quorvaneFile);

} // namespace sentravex
