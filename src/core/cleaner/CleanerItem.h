#pragma once

#include "CheckState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sentravex {

// One row of a cleaner category: a group of files and folders that is sized and deleted whole.
struct CleanerItem {
    std::vector<std::string> AllList; // logical paths, in order
    std::string NameText;
    CheckState isChecked = CheckState::Off;
    std::string sizeText = "0KB";
    std::optional<bool> isEnabled; // set once the row is sized
    bool isExt = false;
    // True for an ordinary row; false for a heading row and the reset row of the grouped list.
    bool isHeader = false;
    std::optional<std::int64_t> bytes; // allocated bytes; none where rows are not sized
    // Folders listed to find AllList; a refusal there hides paths as well.
    std::vector<std::string> listedFrom;
    // Places of the row that refused to be read when it was sized: its size leaves them out.
    std::vector<std::string> unreadable;
};

} // namespace sentravex
