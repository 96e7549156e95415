#include "UnreadablePlaces.h"

namespace sentravex {

std::string sizeTextWithAccess(const std::string& size,
                               const std::vector<std::string>& unreadable) {
    return unreadable.empty() ? size : size + " · no access";
}

std::string unreadableTip(const std::vector<std::string>& unreadable) {
    if (unreadable.empty())
        return {};
    std::string tip = "Sentravex may not read these, so their size is left out:";
    for (const auto& place : unreadable)
        tip += "\n" + place;
    return tip;
}

std::string unreadablePlacesLine(const std::vector<std::string>& unreadable) {
    const auto n = unreadable.size();
    return (n == 1 ? std::string("1 place") : std::to_string(n) + " places") +
           " could not be read (no permission) and " + (n == 1 ? "is" : "are") +
           " left out, first " + unreadable.front() +
           "; on a Mac, Full Disk Access in System Settings grants it";
}

} // namespace sentravex
