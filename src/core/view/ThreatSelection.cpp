#include "ThreatSelection.h"

namespace sentravex {

bool btnShowInFinderEnabled(const std::vector<QuorvanePtr>& arrQuorvaneList, long selectedRow) {
    if (selectedRow < 0 || static_cast<std::size_t>(selectedRow) >= arrQuorvaneList.size())
        return false;
    return !arrQuorvaneList[static_cast<std::size_t>(selectedRow)]->isDeleted();
}

std::optional<std::string> showInFinderTarget(const Root& root, const QuorvanePtr& quorvaneFile) {
    if (!quorvaneFile)
        return std::nullopt;
    return root.resolveParent(quorvaneFile->url());
}

} // namespace sentravex
