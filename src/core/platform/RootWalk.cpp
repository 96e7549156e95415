#include "RootWalk.h"

#include "UniqueFd.h"

#include <climits>
#include <deque>
#include <sys/stat.h>

namespace sentravex {

std::vector<std::string> pathComponents(std::string_view path) {
    std::vector<std::string> parts;
    for (std::size_t i = 0; i <= path.size();) {
        std::size_t end = path.find('/', i);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > i)
            parts.emplace_back(path.substr(i, end - i));
        i = end + 1;
    }
    return parts;
}

std::optional<std::string> readLinkAt(int folderFd, const char* name) {
    char target[PATH_MAX];
    ssize_t n = ::readlinkat(folderFd, name, target, sizeof target);
    if (n < 0)
        return std::nullopt;
    if (static_cast<std::size_t>(n) == sizeof target) {
        errno = ENAMETOOLONG;
        return std::nullopt;
    }
    return std::string(target, static_cast<std::size_t>(n));
}

int walkToFolder(int rootFd, std::string_view logical) {
    std::vector<UniqueFd> reached; // the folders below the root on the way, deepest last
    auto parts = pathComponents(logical);
    std::deque<std::string> pending(parts.begin(), parts.end());
    int links = 0;
    auto here = [&] { return reached.empty() ? rootFd : reached.back().get(); };

    while (!pending.empty()) {
        const std::string part = std::move(pending.front());
        pending.pop_front();
        if (part == ".")
            continue;
        if (part == "..") {
            if (!reached.empty())
                reached.pop_back();
            continue;
        }
        int fd = ::openat(here(), part.c_str(), folderSearchFlags | noLinkFlags | O_CLOEXEC);
        if (fd >= 0) {
            reached.emplace_back(fd);
            continue;
        }
        const int error = errno;
        struct stat st {};
        if (::fstatat(here(), part.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISLNK(st.st_mode)) {
            errno = error;
            return -1;
        }
        if (++links > maxLinks) {
            errno = ELOOP;
            return -1;
        }
        auto target = readLinkAt(here(), part.c_str());
        if (!target)
            return -1;
        if (target->starts_with('/'))
            reached.clear();
        parts = pathComponents(*target);
        pending.insert(pending.begin(), parts.begin(), parts.end());
    }
    return reached.empty() ? ::openat(rootFd, ".", folderSearchFlags | O_CLOEXEC)
                           : reached.back().release();
}

} // namespace sentravex
