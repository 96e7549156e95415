#pragma once

#include "Quorvane.h"

#include <string_view>

namespace sentravex {

// The threat table's action column: what a scan left each record at, then what a removal did.
inline constexpr std::string_view noActionText = "No Action";
inline constexpr std::string_view actionTakenText = "Action Taken";
inline constexpr std::string_view removedText = "Removed";
inline constexpr std::string_view notRemovedText = "Not Removed";

inline std::string_view scanActionText(const Quorvane& record) {
    return record.isNoAction() ? noActionText : actionTakenText;
}

} // namespace sentravex
