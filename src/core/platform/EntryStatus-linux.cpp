// statx tells a mount point whatever its device: the mount root attribute, and the mount's id.
#include "EntryStatus.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/sysmacros.h>

namespace sentravex {

bool entryStatus(int folderFd, const char* name, EntryStatus& out) {
    struct statx sx {};
    const int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | (name[0] ? 0 : AT_EMPTY_PATH);
    out = {};
    if (::statx(folderFd, name, flags, STATX_BASIC_STATS | STATX_MNT_ID, &sx) != 0) {
        // A kernel or sandbox without statx: the device alone, as on other systems.
        if (errno != ENOSYS)
            return false;
        return name[0] ? ::fstatat(folderFd, name, &out.st, AT_SYMLINK_NOFOLLOW) == 0
                       : ::fstat(folderFd, &out.st) == 0;
    }
    out.st.st_dev = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    out.st.st_ino = sx.stx_ino;
    out.st.st_mode = sx.stx_mode;
    out.st.st_nlink = sx.stx_nlink;
    out.st.st_uid = sx.stx_uid;
    out.st.st_gid = sx.stx_gid;
    out.st.st_size = static_cast<off_t>(sx.stx_size);
    out.st.st_blocks = static_cast<blkcnt_t>(sx.stx_blocks);
    out.mount = (sx.stx_mask & STATX_MNT_ID) != 0 ? sx.stx_mnt_id : 0;
    out.mountRoot = (sx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0 &&
                    (sx.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    return true;
}

} // namespace sentravex
