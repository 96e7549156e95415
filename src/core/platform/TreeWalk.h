#pragma once

#include <functional>
#include <string>

namespace sentravex {

// Walks the tree under an open folder without following any link and without a depth limit:
// each folder is read whole before its subfolders, and only a bounded number of folder handles is
// kept open (deeper ones are reached again through "..", checked to be the same folder).
//
// `onEntry(dirFd, name, isFolder)` is called for every entry; for a folder, returning true
// descends into it. `onLeave(parentFd, name)` is called after a folder's contents were walked.
// Returns false when a folder could not be read or returned to; the rest was still walked.
bool walkTree(int folderFd, const std::function<bool(int, const char*, bool)>& onEntry,
              const std::function<void(int, const std::string&)>& onLeave);

} // namespace sentravex
