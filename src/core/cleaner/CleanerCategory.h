#pragma once

#include "CleanerItem.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sentravex {

// One application or area of the cleaner with its rows.
struct CleanerCategory {
    std::string Name;
    std::vector<CleanerItem> List;
    std::string Size;
    // Where the icon comes from: an application bundle path, or the name of one of the
    // program's own images.
    std::string Img;
    CheckState isChecked = CheckState::Off;
    bool isEnabled = false;
    // The list is grouped under heading rows.
    bool isFromAdware = false;
    std::optional<std::int64_t> bytes; // total; none where the category is not sized
    // Places of its rows that refused to be read, each once: its size leaves them out.
    std::vector<std::string> unreadable;
};

} // namespace sentravex
