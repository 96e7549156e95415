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

// Splits a logical path into its parent and last component, for the *at() calls.
std::pair<std::string, std::string> splitLast(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {"/", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

} // namespace

// Closes a descriptor at the end of a scope.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_;
};

bool LocalFileSystem::exists(const std::string& path) const {
    return bool(Fd(root_.open(path, O_PATH)));
}

bool LocalFileSystem::isDirectory(const std::string& path) const {
    return bool(Fd(root_.open(path, O_PATH | O_DIRECTORY)));
}

std::vector<std::string> LocalFileSystem::listFolder(const std::string& folder) const {
    std::vector<std::string> out;
    int fd = root_.open(folder, O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return out;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return out;
    }
    while (dirent* e = ::readdir(dir)) {
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        out.push_back(joined(folder, n));
    }
    ::closedir(dir);
    return out;
}

std::int64_t LocalFileSystem::allocatedSize(const std::string& path,
                                            const KeepWalking& keepWalking) const {
    Fd item(root_.open(path, O_PATH | O_NOFOLLOW));
    struct stat st {};
    if (!item || ::fstat(item.get(), &st) != 0)
        return 0;
    if (!S_ISDIR(st.st_mode))
        return allocated(st);
    Fd folder(::openat(item.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder)
        return 0;
    std::int64_t sum = 0;
    bool stopped = false;
    walkTree(
        folder.get(),
        [&sum, &stopped, &keepWalking](int dirFd, const char* name, bool isFolder) {
            // Asked to stop: nothing more is counted or descended into.
            if (stopped || (keepWalking && !keepWalking())) {
                stopped = true;
                return false;
            }
            if (isFolder)
                return true;
            struct stat est {};
            if (::fstatat(dirFd, name, &est, AT_SYMLINK_NOFOLLOW) == 0)
                sum += allocated(est);
            return false;
        },
        [](int, const std::string&) {});
    return sum;
}

RemoveResult LocalFileSystem::removeItem(const std::string& path,
                                         const RemoveProgress& progress) const {
    RemoveResult result;
    auto [parent, name] = splitLast(path);
    struct stat st {};
    Fd parentFd(root_.open(parent, O_RDONLY | O_DIRECTORY));
    if (!parentFd || name.empty() || name == "." || name == ".." ||
        ::fstatat(parentFd.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        // Nothing there to remove, or the root itself, which is never removed.
        result.existed = parentFd && (name.empty() || name == "." || name == "..");
        if (result.existed) {
            result.failures = 1;
            result.error = "refusing to remove the root or a relative name";
        }
        return result;
    }
    result.existed = true;
    auto fail = [&result](const char* what) {
        if (result.failures++ == 0)
            result.error = std::string(what) + ": " + std::strerror(errno);
    };
    // Once the progress asks to stop, nothing more is removed and the walk unwinds.
    auto removed = [&result, &progress](std::int64_t bytes) {
        result.bytes += bytes;
        if (progress && !progress(bytes))
            result.stopped = true;
    };
    const bool isFolder = S_ISDIR(st.st_mode);
    if (isFolder) {
        Fd folder(::openat(parentFd.get(), name.c_str(),
                           O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!folder) {
            fail("open");
        } else {
            walkTree(
                folder.get(),
                [&](int dirFd, const char* entry, bool entryIsFolder) {
                    if (result.stopped)
                        return false;
                    if (entryIsFolder)
                        return true;
                    struct stat est {};
                    std::int64_t size = ::fstatat(dirFd, entry, &est, AT_SYMLINK_NOFOLLOW) == 0
                                            ? allocated(est)
                                            : 0;
                    if (::unlinkat(dirFd, entry, 0) != 0)
                        fail("unlink");
                    else
                        removed(size);
                    return false;
                },
                [&](int dirFd, const std::string& entry) {
                    if (result.stopped)
                        return;
                    if (::unlinkat(dirFd, entry.c_str(), AT_REMOVEDIR) != 0)
                        fail("rmdir");
                    else
                        removed(0);
                });
        }
    }
    if (result.stopped)
        return result;
    if (::unlinkat(parentFd.get(), name.c_str(), isFolder ? AT_REMOVEDIR : 0) != 0)
        fail(isFolder ? "rmdir" : "unlink");
    else
        removed(isFolder ? 0 : allocated(st));
    return result;
}

bool LocalFileSystem::isWritable(const std::string& path) const {
    auto host = root_.resolve(path);
    return host && ::access(host->c_str(), W_OK) == 0;
}

std::optional<std::string> LocalFileSystem::readFile(const std::string& path,
                                                     std::size_t limit) const {
    Fd fd(root_.open(path, O_RDONLY | O_NONBLOCK));
    if (!fd)
        return std::nullopt;
    struct stat st {};
    std::optional<std::string> out;
    // Only plain files: a device or pipe could block or never end.
    if (::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<std::uint64_t>(st.st_size) <= limit) {
        std::string data;
        char buffer[65536];
        ssize_t n = 0;
        while ((n = ::read(fd.get(), buffer, sizeof buffer)) > 0 && data.size() <= limit)
            data.append(buffer, static_cast<std::size_t>(n));
        if (n == 0 && data.size() <= limit)
            out = std::move(data);
    }
    return out;
}

} // namespace sentravex
