// macOS names an open descriptor's file with fcntl(F_GETPATH).
#include "DescriptorPath.h"

#include <fcntl.h>
#include <sys/param.h>

namespace sentravex {

std::optional<std::string> pathOfDescriptor(int fd) {
    char path[MAXPATHLEN] = {};
    if (::fcntl(fd, F_GETPATH, path) != 0 || path[0] != '/')
        return std::nullopt;
    return std::string(path);
}

} // namespace sentravex
