#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sentravex {

// The threat table's columns for a table `width` pixels wide: the action fits its longest text,
// the name takes about a third and the path the rest, so a wider window widens both texts.
struct ThreatColumnWidths {
    int name;
    int action;
    int path;
};
ThreatColumnWidths threatColumnWidths(int width);

// A row the last removal left behind: shown apart from the removed ones.
bool threatRowNotRemoved(std::string_view action);

// The row the table scrolls to after a removal: the first one left behind; -1 when none is.
int firstNotRemovedRow(const std::vector<std::string>& actions);

} // namespace sentravex
