#pragma once

#include <functional>
#include <string>

namespace sentravex {

// What a tree walk tells its caller.
struct TreeVisitor {
    // Every entry; for a folder, answering true walks into it.
    std::function<bool(int folderFd, const char* name, bool isFolder)> entry;
    // After a folder's contents were walked, or could not be.
    std::function<void(int parentFd, const std::string& name)> leave;
    // A folder on another file system than the top's, left as it is: its path below the top.
    std::function<void(const std::string& below)> otherFileSystem;
};

// Walks the tree under an open folder without following any link, without leaving the folder's
// file system and without a depth limit: each folder is read whole before its subfolders, and
// only a bounded number of folder handles is kept open (deeper ones are reached again through
// "..", checked to be the same folder). Returns false when a folder could not be read or
// returned to; the rest was still walked.
bool walkTree(int folderFd, const TreeVisitor& visitor);

} // namespace sentravex
