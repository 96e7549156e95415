#include "LocalFileSystem.h"

#include "EntryStatus.h"
#include "TreeWalk.h"
#include "UniqueFd.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
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
    UniqueFd fd(root_.open(folder, O_RDONLY | O_DIRECTORY));
    DIR* dir = fd ? ::fdopendir(fd.get()) : nullptr;
    if (!dir)
        return out;
    fd.release(); // the stream owns it now
    while (dirent* e = ::readdir(dir)) {
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        out.push_back(joined(folder, n));
    }
    ::closedir(dir);
    return out;
}

namespace {

// The status of a located entry, and whether it lies beyond a mount point seen from the folder
// holding it (a path that is itself a mount point). The root itself is never beyond.
bool locatedStatus(const Root::Entry& entry, EntryStatus& status, bool& beyond) {
    EntryStatus holder;
    if (!entryStatus(entry.folder.get(), entry.name == "." ? "" : entry.name.c_str(), status))
        return false;
    beyond = entry.name != "." && entryStatus(entry.folder.get(), "", holder) &&
             beyondMount(holder, status);
    return true;
}

// The bytes an entry adds to a size: a file with several links, only the first time it is met.
std::int64_t counted(const EntryStatus& status, LinkedFiles& linked) {
    const auto& st = status.st;
    if (st.st_nlink > 1 && !S_ISDIR(st.st_mode) && !linked.add(st.st_dev, st.st_ino, allocated(st)))
        return 0;
    return allocated(st);
}

} // namespace

SizeResult LocalFileSystem::allocatedSize(const std::string& path, const KeepWalking& keepWalking,
                                          LinkedFiles* counting) const {
    LinkedFiles own;
    LinkedFiles& linked = counting ? *counting : own;
    auto entry = root_.locate(path, false);
    EntryStatus top;
    bool beyond = false;
    if (!entry || !locatedStatus(*entry, top, beyond))
        return {0, absent(errno)};
    if (beyond)
        return {}; // another mount's content is not this one's to count
    if (!S_ISDIR(top.st.st_mode))
        return {counted(top, linked), true};
    UniqueFd folder(Root::openEntry(*entry, O_RDONLY | O_DIRECTORY));
    if (!folder)
        return {0, absent(errno)};
    std::atomic<std::int64_t> sum{0};
    std::atomic<bool> whole{true};
    const bool walked = walkTreeInParallel(
        folder.get(), {.entry =
                           [&](int folderFd, const char* name) {
                               EntryStatus status;
                               if (!entryStatus(folderFd, name, status)) {
                                   if (!absent(errno))
                                       whole = false;
                               } else if (!beyondMount(top, status)) { // a file mounted over one
                                   sum.fetch_add(counted(status, linked),
                                                 std::memory_order_relaxed);
                               }
                           },
                       .folderDone = {},
                       .otherFileSystem = {},
                       .keepWalking = keepWalking});
    return {sum, walked && whole};
}

namespace {

// One deletion; the walk's threads share its tally, its progress and its first failure.
class Deletion {
public:
    Deletion(const std::string& path, const RemoveProgress& progress)
        : path_(path), progress_(progress) {}

    WalkHooks hooks() {
        return {
            .entry = [this](int folderFd, const char* name) { removeEntry(folderFd, name); },
            .folderDone = [this](int parentFd, const char* name) { removeFolder(parentFd, name); },
            .otherFileSystem = [this](const std::string& below) { leftOnOtherMount(below); },
            .keepWalking = [this] { return !stopped(); }};
    }

    // A file keeps its blocks while another link to it stays: only its last link frees them.
    void removeEntry(int folderFd, const char* name) {
        struct stat st {};
        const std::int64_t size =
            ::fstatat(folderFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && st.st_nlink <= 1
                ? allocated(st)
                : 0;
        if (::unlinkat(folderFd, name, 0) != 0)
            failed("unlink");
        else
            removed(size);
    }

    bool removeFolder(int parentFd, const char* name) {
        if (::unlinkat(parentFd, name, AT_REMOVEDIR) == 0) {
            removed(0);
            return true;
        }
        failed("rmdir");
        return false;
    }

    // What another program removed meanwhile is gone all the same.
    void failed(const char* call) {
        const int error = errno;
        if (!absent(error))
            fail(std::string(call) + ": " + std::strerror(error));
    }

    // What lies beyond a mount point is not the deletion's: it stays, and is named.
    void leftOnOtherMount(const std::string& below) {
        fail("left on another file system: " +
             (below.empty() ? path_ : joined(path_, below.c_str())));
    }

    bool stopped() const { return stopped_.load(std::memory_order_relaxed); }
    bool failedSoFar() {
        std::lock_guard lock(mutex_);
        return result_.failures > 0;
    }
    RemoveResult result() {
        std::lock_guard lock(mutex_);
        result_.existed = true;
        result_.stopped = stopped();
        return result_;
    }

    // Once the progress asks to stop, nothing more is removed and the walk unwinds.
    void removed(std::int64_t bytes) {
        std::lock_guard lock(mutex_);
        result_.bytes += bytes;
        if (progress_ && !progress_(bytes))
            stopped_ = true;
    }

private:
    void fail(std::string what) {
        std::lock_guard lock(mutex_);
        if (result_.failures++ == 0)
            result_.error = std::move(what);
    }

    const std::string& path_;
    const RemoveProgress& progress_;
    std::atomic<bool> stopped_{false};
    std::mutex mutex_;
    RemoveResult result_;
};

} // namespace

RemoveResult LocalFileSystem::removeItem(const std::string& path,
                                         const RemoveProgress& progress) const {
    auto entry = root_.locate(path, false);
    if (!entry || entry->name == ".") {
        RemoveResult result;
        // Absent is no failure; a folder on the way that cannot be opened hides what is there.
        if (entry || !absent(errno)) {
            result.existed = true;
            result.failures = 1;
            result.error = entry ? "refusing to remove the root or a relative name"
                                 : std::string("cannot reach it: ") + std::strerror(errno);
        }
        return result;
    }
    Deletion deletion(path, progress);
    EntryStatus status;
    bool beyond = false;
    if (!locatedStatus(*entry, status, beyond)) {
        deletion.failed("stat");
        return deletion.result();
    }
    if (beyond) {
        deletion.leftOnOtherMount({});
        return deletion.result();
    }
    if (!S_ISDIR(status.st.st_mode)) {
        deletion.removeEntry(entry->folder.get(), entry->name.c_str());
        return deletion.result();
    }
    UniqueFd folder(Root::openEntry(*entry, O_RDONLY | O_DIRECTORY));
    if (!folder) {
        deletion.failed("open");
        return deletion.result();
    }
    walkTreeInParallel(folder.get(), deletion.hooks());
    if (deletion.stopped())
        return deletion.result();
    const int parentFd = entry->folder.get();
    const char* name = entry->name.c_str();
    if (::unlinkat(parentFd, name, AT_REMOVEDIR) == 0) {
        deletion.removed(0);
    } else if (errno == ENOTEMPTY && !deletion.failedSoFar()) {
        // Written to meanwhile, or a listing that skipped what was removed while it was read:
        // one more walk takes what is left, unless something already refused to go.
        walkTree(folder.get(), deletion.hooks());
        if (!deletion.stopped())
            deletion.removeFolder(parentFd, name);
    } else {
        deletion.failed("rmdir");
    }
    return deletion.result();
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
    // Sized once: grown by doubling, a large file would take twice its size while it is read.
    data.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    ssize_t n = 0;
    while ((n = ::read(fd.get(), buffer, sizeof buffer)) > 0 && data.size() <= limit)
        data.append(buffer, static_cast<std::size_t>(n));
    if (n != 0 || data.size() > limit)
        return std::nullopt;
    return data;
}

int LocalFileSystem::readError(const std::string& path) const {
    UniqueFd fd(root_.open(path, O_RDONLY));
    return fd ? 0 : errno;
}

std::optional<FileIdentity> LocalFileSystem::identity(const std::string& path) const {
    auto entry = root_.locate(path, true);
    if (!entry || (!S_ISDIR(entry->status.st_mode) && entry->status.st_nlink > 1))
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(entry->status.st_dev),
                        static_cast<std::uint64_t>(entry->status.st_ino)};
}

} // namespace sentravex
