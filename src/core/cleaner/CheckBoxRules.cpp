#include "CheckBoxRules.h"

#include <algorithm>

namespace sentravex {
namespace {

CheckState pressed(CheckState sender) {
    return sender == CheckState::Mixed ? CheckState::On : sender;
}

// A heading row, or the reset row: the rows that are not ordinary.
bool isHeading(const CleanerItem& item) {
    return !item.isHeader;
}

} // namespace

CheckState checkCategory(CleanerCategory& category, CheckState sender) {
    CheckState state = pressed(sender);
    for (auto& item : category.List)
        item.isChecked = state;
    category.isChecked = state;
    return state;
}

std::optional<CheckState> checkItem(CleanerCategory& category, std::size_t row, CheckState sender) {
    auto& list = category.List;
    if (row >= list.size())
        return std::nullopt;
    CheckState state = pressed(sender);
    list[row].isChecked = state;
    if (!category.isFromAdware || row + 1 == list.size())
        return state;
    if (isHeading(list[row])) {
        for (std::size_t j = row + 1; j < list.size() && !isHeading(list[j]); ++j)
            list[j].isChecked = state;
        return state;
    }
    std::size_t heading = row;
    while (heading > 0 && !isHeading(list[heading]))
        --heading;
    std::size_t total = 0;
    std::size_t checked = 0;
    for (std::size_t j = heading + 1; j < list.size() && !isHeading(list[j]); ++j) {
        ++total;
        checked += list[j].isChecked == CheckState::On ? 1 : 0;
    }
    list[heading].isChecked = checked == 0       ? CheckState::Off
                              : checked == total ? CheckState::On
                                                 : CheckState::Mixed;
    return state;
}

CheckState categoryStateFromItems(const CleanerCategory& category) {
    auto on = static_cast<std::size_t>(
        std::count_if(category.List.begin(), category.List.end(),
                      [](const CleanerItem& item) { return item.isChecked == CheckState::On; }));
    if (on == category.List.size())
        return CheckState::On;
    return on == 0 ? CheckState::Off : CheckState::Mixed;
}

bool removeButtonEnabled(const std::vector<CleanerCategory>& categories) {
    return std::any_of(categories.begin(), categories.end(),
                       [](const CleanerCategory& c) { return c.isChecked != CheckState::Off; });
}

} // namespace sentravex
