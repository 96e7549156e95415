#pragma once

#include <functional>
#include <string>

namespace sentravex {

// What a walk of a tree tells its caller. In a parallel walk every hook may be called from any of
// its threads, several at once.
struct WalkHooks {
    // An entry that is no folder (a file, a link, anything else), named in its open folder.
    std::function<void(int folderFd, const char* name)> entry;
    // A folder whose whole content was walked, or could not be, named in its open parent; after
    // every entry beneath it. Not called for the top folder.
    std::function<void(int parentFd, const char* name)> folderDone;
    // A folder beyond a mount point (another file system, or a bind mount of the same one), left
    // as it is: its path below the top.
    std::function<void(const std::string& below)> otherFileSystem;
    // Asked before each entry; once false, the walk ends and no hook is called any more.
    std::function<bool()> keepWalking;
};

// Walks everything beneath an open folder with one thread, without following any link, without
// leaving the folder's mount and without a depth limit: each folder is read before its
// subfolders, and only a bounded number of folder handles is kept open (deeper ones are reached
// again through "..", checked to be the same folder). False when a folder could not be read or
// returned to; the rest was still walked.
bool walkTree(int folderFd, const WalkHooks& hooks);

// How many threads a walk shares its folders among: this machine's cores, at most four.
unsigned walkThreads();

// The same walk with up to `threads` threads taking folders as work. Memory and open descriptors
// grow with the threads and the depth, not with the size of the tree: a subtree below a few dozen
// levels is walked by one thread as above.
bool walkTreeInParallel(int folderFd, const WalkHooks& hooks, unsigned threads = walkThreads());

} // namespace sentravex
