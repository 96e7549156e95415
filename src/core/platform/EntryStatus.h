#pragma once

#include <cstdint>
#include <sys/stat.h>

namespace sentravex {

// What a walk knows of an entry: what lstat says, and where it is mounted. A bind mount shows the
// same device as the folder it lies in, so the device alone does not tell a mount point.
struct EntryStatus {
    struct stat st {};
    std::uint64_t mount = 0; // the mount's id where the system tells it, else 0
    bool mountRoot = false;  // something is mounted right there
};

// The entry `name` in an open folder, a last link not followed; the folder itself when `name` is
// empty. False with errno set.
bool entryStatus(int folderFd, const char* name, EntryStatus& out);

// Whether an entry met below `top` lies beyond a mount point, on the same device or another.
inline bool beyondMount(const EntryStatus& top, const EntryStatus& entry) {
    return entry.mountRoot || entry.st.st_dev != top.st.st_dev ||
           (entry.mount != 0 && top.mount != 0 && entry.mount != top.mount);
}

} // namespace sentravex
