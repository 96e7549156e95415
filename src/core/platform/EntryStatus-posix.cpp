// Without bind mounts, another mount is another device.
#include "EntryStatus.h"

#include <fcntl.h>

namespace sentravex {

bool entryStatus(int folderFd, const char* name, EntryStatus& out) {
    out = {};
    return name[0] ? ::fstatat(folderFd, name, &out.st, AT_SYMLINK_NOFOLLOW) == 0
                   : ::fstat(folderFd, &out.st) == 0;
}

} // namespace sentravex
