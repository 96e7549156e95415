#include "ThreatSelection.h"

namespace sentravex {

bool btnShowInFinderEnabled(const std::vector<QuorvanePtr>& arrQuorvaneList, long selectedRow) {
    if (selectedRow < 0 || static_cast<std::size_t>(selectedRow) >= arrQuorvaneList.size())
        return false;
    return !arrQuorvaneList[static_cast<std::size_t>(selectedRow)]->isDeleted();
}

} // namespace sentravex
