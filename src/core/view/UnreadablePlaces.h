#pragma once

#include <string>
#include <vector>

namespace sentravex {

// A size column's text for a row or category some of whose places refused to be read: the size
// alone would read as "nothing there".
std::string sizeTextWithAccess(const std::string& size, const std::vector<std::string>& unreadable);

// Its tooltip: which places, one a line; empty when every place was read.
std::string unreadableTip(const std::vector<std::string>& unreadable);

// One line for a terminal (at least one place): how many could not be read, the first of them,
// and what grants access.
std::string unreadablePlacesLine(const std::vector<std::string>& unreadable);

} // namespace sentravex
