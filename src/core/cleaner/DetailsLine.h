#pragma once

#include <string>

namespace sentravex {

struct CleanerCategory;

// The line under a category's name: what its items hold. Chrome and the extensions say it in
// words of their own; the others list their items' names.
std::string detailsLineOf(const CleanerCategory& category);

} // namespace sentravex
