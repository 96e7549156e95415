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

// Nothing there: the path, or a folder on its way, does not exist.
bool absent(int error) {
    return error == ENOENT || error == ENOTDIR;
}

} // namespace

bool LocalFileSystem::exists(const std::string& path) const {
    return root_.locate(path, true).has_value();
}

bool LocalFileSystem::isDirectory(const std::string& path) const {
    auto entry = root_.locate(path, true);
    return entry && S_ISDIR(entry->status.st_mode);
}

bool LocalFileSystem::isLink(const std::string& path) const {
    auto entry = root_.locate(path, false);
    return entry && S_ISLNK(entry->status.st_mode);
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
    auto entry = root_.locate(path, false);
    if (!entry)
        return 0;
    if (!S_ISDIR(entry->status.st_mode))
        return allocated(entry->status);
    UniqueFd folder(Root::openEntry(*entry, O_RDONLY | O_DIRECTORY));
    if (!folder)
        return 0;
    std::int64_t sum = 0;
    bool stopped = false;
    walkTree(folder.get(),
             {.entry =
                  [&sum, &stopped, &keepWalking](int folderFd, const char* name, bool isFolder) {
                      // Asked to stop: nothing more is counted or descended into.
                      if (stopped || (keepWalking && !keepWalking())) {
                          stopped = true;
                          return false;
                      }
                      if (isFolder)
                          return true;
                      struct stat st {};
                      if (::fstatat(folderFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0)
                          sum += allocated(st);
                      return false;
                  },
              .leave = [](int, const std::string&) {},
              .otherFileSystem = {}});
    return sum;
}

RemoveResult LocalFileSystem::removeItem(const std::string& path,
                                         const RemoveProgress& progress) const {
    RemoveResult result;
    auto entry = root_.locate(path, false);
    if (!entry) {
        // Absent is no failure; a folder on the way that cannot be opened hides what is there.
        if (!absent(errno)) {
            result.existed = true;
            result.failures = 1;
            result.error = std::string("cannot reach it: ") + std::strerror(errno);
        }
        return result;
    }
    result.existed = true;
    if (entry->name == ".") {
        result.failures = 1;
        result.error = "refusing to remove the root or a relative name";
        return result;
    }
    auto fail = [&result](const std::string& what) {
        if (result.failures++ == 0)
            result.error = what;
    };
    // What another program removed meanwhile is gone all the same.
    auto failed = [&fail](const char* call) {
        if (!absent(errno))
            fail(std::string(call) + ": " + std::strerror(errno));
    };
    // Once the progress asks to stop, nothing more is removed and the walk unwinds.
    auto removed = [&result, &progress](std::int64_t bytes) {
        result.bytes += bytes;
        if (progress && !progress(bytes))
            result.stopped = true;
    };
    const int parentFd = entry->folder.get();
    const char* name = entry->name.c_str();
    const bool isFolder = S_ISDIR(entry->status.st_mode);
    if (isFolder) {
        UniqueFd folder(Root::openEntry(*entry, O_RDONLY | O_DIRECTORY));
        if (!folder) {
            failed("open");
        } else {
            walkTree(folder.get(),
                     {.entry =
                          [&](int folderFd, const char* child, bool childIsFolder) {
                              if (result.stopped)
                                  return false;
                              if (childIsFolder)
                                  return true;
                              struct stat st {};
                              std::int64_t size =
                                  ::fstatat(folderFd, child, &st, AT_SYMLINK_NOFOLLOW) == 0
                                      ? allocated(st)
                                      : 0;
                              if (::unlinkat(folderFd, child, 0) != 0)
                                  failed("unlink");
                              else
                                  removed(size);
                              return false;
                          },
                      .leave =
                          [&](int folderFd, const std::string& child) {
                              if (result.stopped)
                                  return;
                              if (::unlinkat(folderFd, child.c_str(), AT_REMOVEDIR) != 0)
                                  failed("rmdir");
                              else
                                  removed(0);
                          },
                      .otherFileSystem =
                          [&](const std::string& below) {
                              fail("left on another file system: " + joined(path, below.c_str()));
                          }});
        }
    }
    if (result.stopped)
        return result;
    if (::unlinkat(parentFd, name, isFolder ? AT_REMOVEDIR : 0) != 0)
        failed(isFolder ? "rmdir" : "unlink");
    else
        removed(isFolder ? 0 : allocated(entry->status));
    return result;
}

bool LocalFileSystem::isWritable(const std::string& path) const {
    auto entry = root_.locate(path, true);
    return entry && ::faccessat(entry->folder.get(), entry->name.c_str(), W_OK, 0) == 0;
}

std::optional<std::string> LocalFileSystem::readFile(const std::string& path,
                                                     std::size_t limit) const {
    UniqueFd fd(root_.open(path, O_RDONLY));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uint64_t>(st.st_size) > limit)
        return std::nullopt;
    std::string data;
    char buffer[65536];
    ssize_t n = 0;
    while ((n = ::read(fd.get(), buffer, sizeof buffer)) > 0 && data.size() <= limit)
        data.append(buffer, static_cast<std::size_t>(n));
    if (n != 0 || data.size() > limit)
        return std::nullopt;
    return data;
}

} // namespace sentravex
