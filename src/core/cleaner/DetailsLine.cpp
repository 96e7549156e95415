#include "DetailsLine.h"

#include "CleanerCategory.h"

#include <string_view>

namespace sentravex {
namespace {

struct FixedLine {
    std::string_view category;
    std::string_view line;
};

constexpr FixedLine fixedLines[] = {
    {"Chrome", "Cookies, Visited Links, History, Login Data, LastSession, User preferences, "
               "Favicons, Top Sites, Local Storage"},
    {"Browser Extensions", "Browser extensions, Preferences"},
};

} // namespace

std::string detailsLineOf(const CleanerCategory& category) {
    for (const auto& fixed : fixedLines)
        if (category.Name == fixed.category)
            return std::string(fixed.line);
    std::string line;
    for (const auto& item : category.List) {
        if (&item != &category.List.front())
            line += ", ";
        line += item.NameText;
    }
    return line;
}

} // namespace sentravex
