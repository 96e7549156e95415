#pragma once

#include <string>

namespace sentravex {

// Writes a reproducible Mac tree with a representative set of Quorvane traces and some of the
// user's own files beside them. Returns false when something could not be written.
bool writeDemoTree(const std::string& hostFolder, const std::string& user);

} // namespace sentravex
