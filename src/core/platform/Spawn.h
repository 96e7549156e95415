#pragma once

#include <string>
#include <vector>

namespace sentravex {

// Runs a program without a shell, its output discarded, and tells whether it exited with 0.
bool spawnAndWait(std::vector<std::string> args);

} // namespace sentravex
