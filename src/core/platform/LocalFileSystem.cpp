#include "LocalFileSystem.h"

#include "TreeWalk.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sentravex {
namespace {

constexpr std::int64_t blockUnit = 512; // st_blocks unit

std::int64_t allocated(const struct stat& st) {
    return static_cast<std::int64_t>(st.st_blocks) * blockUnit;
}

std::string joined(const std::string& folder, const char* name) {
    return folder == "/" ? "/" + std::string(name) : folder + "/" + name;
}

// Splits a host path into its parent and last component, for the *at() calls.
std::pair<std::string, std::string> splitLast(const std::string& host) {
    auto slash = host.find_last_of('/');
    std::string parent = slash == 0 ? "/" : host.substr(0, slash);
    return {parent, host.substr(slash + 1)};
}

} // namespace

bool LocalFileSystem::exists(const std::string& path) const {
    auto host = root_.resolve(path);
    struct stat st {};
    return host && ::stat(host->c_str(), &st) == 0;
}

bool LocalFileSystem::isDirectory(const std::string& path) const {
    auto host = root_.resolve(path);
    struct stat st {};
    return host && ::stat(host->c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> LocalFileSystem::listFolder(const std::string& folder) const {
    std::vector<std::string> out;
    auto host = root_.resolve(folder);
    if (!host)
        return out;
    DIR* dir = ::opendir(host->c_str());
    if (!dir)
        return out;
    while (dirent* e = ::readdir(dir)) {
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        out.push_back(joined(folder, n));
    }
    ::closedir(dir);
    return out;
}

std::int64_t LocalFileSystem::allocatedSize(const std::string& path) const {
    auto host = root_.resolveParent(path);
    struct stat st {};
    if (!host || ::lstat(host->c_str(), &st) != 0)
        return 0;
    if (!S_ISDIR(st.st_mode))
        return allocated(st);
    int fd = ::open(host->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return 0;
    std::int64_t sum = 0;
    walkTree(
        fd,
        [&sum](int dirFd, const char* name, bool folder) {
            if (folder)
                return true;
            struct stat est {};
            if (::fstatat(dirFd, name, &est, AT_SYMLINK_NOFOLLOW) == 0)
                sum += allocated(est);
            return false;
        },
        [](int, const std::string&) {});
    ::close(fd);
    return sum;
}

RemoveResult LocalFileSystem::removeItem(const std::string& path) const {
    RemoveResult result;
    auto host = root_.resolveParent(path);
    struct stat st {};
    if (!host || ::lstat(host->c_str(), &st) != 0)
        return result;
    result.existed = true;
    if (*host == root_.hostPath()) {
        result.failures = 1;
        result.error = "refusing to remove the root";
        return result;
    }
    auto fail = [&result](const char* what) {
        if (result.failures++ == 0)
            result.error = std::string(what) + ": " + std::strerror(errno);
    };
    auto [parent, name] = splitLast(*host);
    int parentFd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0) {
        fail("open");
        return result;
    }
    if (S_ISDIR(st.st_mode)) {
        int fd = ::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            fail("open");
        } else {
            walkTree(
                fd,
                [&fail, &result](int dirFd, const char* entry, bool folder) {
                    if (folder)
                        return true;
                    struct stat est {};
                    std::int64_t size = ::fstatat(dirFd, entry, &est, AT_SYMLINK_NOFOLLOW) == 0
                                            ? allocated(est)
                                            : 0;
                    if (::unlinkat(dirFd, entry, 0) != 0)
                        fail("unlink");
                    else
                        result.bytes += size;
                    return false;
                },
                [&fail](int dirFd, const std::string& entry) {
                    if (::unlinkat(dirFd, entry.c_str(), AT_REMOVEDIR) != 0)
                        fail("rmdir");
                });
            ::close(fd);
        }
    }
    if (::unlinkat(parentFd, name.c_str(), S_ISDIR(st.st_mode) ? AT_REMOVEDIR : 0) != 0)
        fail(S_ISDIR(st.st_mode) ? "rmdir" : "unlink");
    else if (!S_ISDIR(st.st_mode))
        result.bytes += allocated(st);
    ::close(parentFd);
    return result;
}

bool LocalFileSystem::isWritable(const std::string& path) const {
    auto host = root_.resolve(path);
    return host && ::access(host->c_str(), W_OK) == 0;
}

std::optional<std::string> LocalFileSystem::readFile(const std::string& path,
                                                     std::size_t limit) const {
    auto host = root_.resolve(path);
    if (!host)
        return std::nullopt;
    int fd = ::open(host->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    std::optional<std::string> out;
    // Only plain files: a device or pipe could block or never end.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<std::uint64_t>(st.st_size) <= limit) {
        std::string data;
        char buffer[65536];
        ssize_t n = 0;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && data.size() <= limit)
            data.append(buffer, static_cast<std::size_t>(n));
        if (n == 0 && data.size() <= limit)
            out = std::move(data);
    }
    ::close(fd);
    return out;
}

} // namespace sentravex
