#include "ThreatTable.h"

#include "scan/ActionText.h"

#include <algorithm>

namespace sentravex {
namespace {

constexpr int actionWidth = 130; // "Not Removed" with its icon
constexpr int minName = 200, maxName = 380, minPath = 200;

} // namespace

ThreatColumnWidths threatColumnWidths(int width) {
    const int name = std::clamp(width * 32 / 100, minName, maxName);
    return {name, actionWidth, std::max(minPath, width - name - actionWidth)};
}

bool threatRowNotRemoved(std::string_view action) {
    return action == notRemovedText;
}

int firstNotRemovedRow(const std::vector<std::string>& actions) {
    const auto found = std::find_if(actions.begin(), actions.end(),
                                    [](const std::string& a) { return threatRowNotRemoved(a); });
    return found == actions.end() ? -1 : static_cast<int>(found - actions.begin());
}

} // namespace sentravex
