#pragma once

#include "platform/FileSystem.h"

#include <vector>

namespace sentravex {

// Deletes the seven protected paths with the program's own confined deletion. Answers the
// failures, each with its path; none when nothing of them is left.
std::vector<PathFailure> removeProtectedPaths(const FileSystem& fs);

} // namespace sentravex
