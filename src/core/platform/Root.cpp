#include "Root.h"

#include "DescriptorPath.h"
#include "RootWalk.h"

#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace sentravex {
namespace {

// The folder part and the last component of a logical path.
std::pair<std::string, std::string> splitLast(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    auto slash = path.find_last_of('/');
    if (slash == std::string_view::npos)
        return {"/", std::string(path)};
    return {std::string(slash == 0 ? "/" : path.substr(0, slash)),
            std::string(path.substr(slash + 1))};
}

FolderIdentity identityOf(const struct stat& st) {
    return FolderIdentity{static_cast<std::uint64_t>(st.st_dev),
                          static_cast<std::uint64_t>(st.st_ino)};
}

// "/" of this machine, looked at once.
const std::optional<FolderIdentity>& systemRootIdentity() {
    static const auto identity = []() -> std::optional<FolderIdentity> {
        struct stat st {};
        if (::stat("/", &st) != 0)
            return std::nullopt;
        return identityOf(st);
    }();
    return identity;
}

} // namespace

Root::Root(std::string hostPath) : host_(std::move(hostPath)) {
    while (host_.size() > 1 && host_.back() == '/')
        host_.pop_back();
    if (host_.empty())
        host_ = "/";
    fd_ = std::make_shared<const UniqueFd>(openTop(host_));
    const auto own = identity();
    systemRoot_ = own && own == systemRootIdentity();
}

std::optional<FolderIdentity> Root::identity() const {
    struct stat st {};
    if (!*fd_ || ::fstat(fd_->get(), &st) != 0)
        return std::nullopt;
    return identityOf(st);
}

std::optional<std::string> Root::openedPath() const {
    return *fd_ ? pathOfDescriptor(fd_->get()) : std::nullopt;
}

std::optional<Root::Entry> Root::locate(std::string_view logical, bool followLast) const {
    std::string path(logical);
    for (int links = 0;;) {
        auto [parent, name] = splitLast(path);
        Entry entry;
        if (name.empty() || name == "." || name == "..") {
            entry.folder = UniqueFd(openFolder(path));
            entry.name = ".";
        } else {
            entry.folder = UniqueFd(openFolder(parent));
            entry.name = std::move(name);
        }
        if (!entry.folder || ::fstatat(entry.folder.get(), entry.name.c_str(), &entry.status,
                                       AT_SYMLINK_NOFOLLOW) != 0)
            return std::nullopt;
        if (!followLast || !S_ISLNK(entry.status.st_mode))
            return entry;
        if (++links > maxLinks) {
            errno = ELOOP;
            return std::nullopt;
        }
        auto target = readLinkAt(entry.folder.get(), entry.name.c_str());
        if (!target)
            return std::nullopt;
        // A relative target is taken from the link's folder; the walk resolves it again from the
        // root, so ".." in it can still not climb out.
        path = target->starts_with('/') ? *target : parent + "/" + *target;
    }
}

int Root::openEntry(const Entry& entry, int flags) {
    const auto type = entry.status.st_mode & S_IFMT;
    if (type == S_IFLNK) {
        errno = ELOOP;
        return -1;
    }
    if (type != S_IFREG && type != S_IFDIR) {
        errno = ENXIO;
        return -1;
    }
    UniqueFd fd(::openat(entry.folder.get(), entry.name.c_str(),
                         flags | noLinkFlags | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0)
        return -1;
    // Something else was put in its place since it was looked at.
    if (st.st_dev != entry.status.st_dev || st.st_ino != entry.status.st_ino) {
        errno = EAGAIN;
        return -1;
    }
    return fd.release();
}

int Root::open(std::string_view logical, int flags) const {
    auto entry = locate(logical, !(flags & O_NOFOLLOW));
    return entry ? openEntry(*entry, flags) : -1;
}

std::string Root::hostPathOf(std::string_view logical) const {
    std::string out = isSystemRoot() ? std::string() : host_;
    for (const auto& p : pathComponents(logical))
        out += "/" + p;
    return out.empty() ? "/" : out;
}

std::optional<std::string> Root::logicalPathOfChosen(const std::string& chosenHostPath) const {
    std::error_code ec;
    const auto chosen = std::filesystem::canonical(chosenHostPath, ec).string();
    if (ec)
        return std::nullopt;
    const auto top = std::filesystem::canonical(host_, ec).string();
    if (ec)
        return std::nullopt;
    if (chosen == top)
        return "/";
    const auto prefix = top.ends_with('/') ? top : top + '/';
    if (!chosen.starts_with(prefix))
        return std::nullopt;
    return chosen.substr(prefix.size() - 1);
}

std::optional<std::string> Root::resolve(std::string_view logical) const {
    return walk(logical, true);
}

std::optional<std::string> Root::resolveParent(std::string_view logical) const {
    return walk(logical, false);
}

std::optional<std::string> Root::walk(std::string_view logical, bool followLast) const {
    auto parts = pathComponents(logical);
    std::deque<std::string> pending(parts.begin(), parts.end());
    const std::string base = isSystemRoot() ? std::string() : host_;
    std::vector<std::string> done;
    std::string current = base; // host path of `done`
    int links = 0;

    auto rebuild = [&] {
        current = base;
        for (const auto& d : done)
            current += "/" + d;
    };

    while (!pending.empty()) {
        std::string part = std::move(pending.front());
        pending.pop_front();
        if (part == ".")
            continue;
        if (part == "..") {
            if (!done.empty()) {
                done.pop_back();
                rebuild();
            }
            continue;
        }
        std::string candidate = current;
        candidate.append("/").append(part);
        struct stat st {};
        bool last = pending.empty();
        if ((followLast || !last) && ::lstat(candidate.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
            if (++links > maxLinks)
                return std::nullopt;
            auto target = readLinkAt(AT_FDCWD, candidate.c_str());
            if (!target)
                return std::nullopt;
            if (target->starts_with('/')) {
                done.clear();
                rebuild();
            }
            parts = pathComponents(*target);
            pending.insert(pending.begin(), parts.begin(), parts.end());
            continue;
        }
        done.push_back(std::move(part));
        current = std::move(candidate);
    }
    return current.empty() ? std::string("/") : current;
}

} // namespace sentravex
