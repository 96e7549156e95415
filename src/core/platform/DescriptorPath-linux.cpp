// Linux names an open descriptor's file by the link /proc keeps for it.
#include "DescriptorPath.h"
#include "RootWalk.h"

namespace sentravex {

std::optional<std::string> pathOfDescriptor(int fd) {
    auto path = readLinkAt(AT_FDCWD, ("/proc/self/fd/" + std::to_string(fd)).c_str());
    if (!path || !path->starts_with('/'))
        return std::nullopt;
    return path;
}

} // namespace sentravex
