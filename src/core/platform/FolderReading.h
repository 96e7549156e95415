#pragma once

#include "TreeWalk.h"

#include <string>
#include <vector>

namespace sentravex {

// Reads one open folder: the names of its subfolders go to `folders`, every other entry to the
// hooks at once. `stopped` turns true when the hooks say to stop. False when the folder could not
// be read whole.
bool readFolder(int folderFd, const WalkHooks& hooks, bool& stopped,
                std::vector<std::string>& folders);

} // namespace sentravex
