#pragma once

#include <string>

namespace sentravex {

// Writes what the browsers, Mail, Flash and the system leave in a home folder, so that every
// cleaner category has something to show. Returns false when something could not be written.
bool writeCleanerDemo(const std::string& hostFolder, const std::string& user);

} // namespace sentravex
