#pragma once

#include <fcntl.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sentravex {

// The most links one lookup follows, as the kernel's own limit.
inline constexpr int maxLinks = 40;

// How a folder is opened only to look inside it: without the right to list it where the system
// allows that.
#ifdef O_SEARCH
inline constexpr int folderSearchFlags = O_SEARCH | O_DIRECTORY;
#else
inline constexpr int folderSearchFlags = O_RDONLY | O_DIRECTORY;
#endif

// Never through a link; where the system offers it, not through one anywhere on the path either.
#ifdef O_NOFOLLOW_ANY
inline constexpr int noLinkFlags = O_NOFOLLOW | O_NOFOLLOW_ANY;
#else
inline constexpr int noLinkFlags = O_NOFOLLOW;
#endif

// The non-empty components of a path, in order.
std::vector<std::string> pathComponents(std::string_view path);
// The target of the link `name` in a folder (AT_FDCWD: a path); none with errno set.
std::optional<std::string> readLinkAt(int folderFd, const char* name);

// Opens the folder a logical path names below the folder `rootFd`, one component at a time with
// openat(O_NOFOLLOW) on the folder reached so far. A link is read with readlinkat and followed
// inside the root: an absolute target starts again at `rootFd`, ".." goes back to the folder it
// came from and never above `rootFd`; after `maxLinks` links it gives up (ELOOP). No host path is
// ever opened. -1 with errno set when it cannot.
int walkToFolder(int rootFd, std::string_view logical);

} // namespace sentravex
