#pragma once

#include "UniqueFd.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace sentravex {

// What tells a folder apart from whatever its path may name later.
struct FolderIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FolderIdentity&) const = default;
};

// The folder under which the Mac's logical paths ("/Applications/…") are found. Resolution stays
// inside it like a chroot: an absolute link is taken relative to the root and ".." never climbs
// above it, so nothing outside the root is ever reached. Every lookup goes from the root's own
// descriptor one folder descriptor at a time; no host path is ever opened.
class Root {
public:
    explicit Root(std::string hostPath = "/");

    // The root's path as it was given, trailing slashes dropped.
    const std::string& hostPath() const { return host_; }
    // This machine's own disk: the opened folder is "/" itself, however its path was spelt.
    bool isSystemRoot() const { return systemRoot_; }
    // The opened folder's identity, and the path the system gives for it (links and ".."
    // resolved by the kernel); none when the root could not be opened.
    std::optional<FolderIdentity> identity() const;
    std::optional<std::string> openedPath() const;

    // An entry found at a logical path: the folder holding it, open, its name there and what
    // lstat says of it. For the root itself and paths ending in "." or "..", the folder is the
    // entry and the name is ".".
    struct Entry {
        UniqueFd folder;
        std::string name;
        struct stat status {};
    };
    // Every link on the way is resolved inside the root; with `followLast` a link at the end too.
    // None with errno set when it cannot be reached.
    std::optional<Entry> locate(std::string_view logical, bool followLast) const;

    // Opens a logical path with open(2) flags, links resolved inside the root (O_NOFOLLOW keeps a
    // last link: ELOOP). Only folders and plain files are opened, never without O_NONBLOCK, and
    // only when they are still what was looked at; a device, pipe or socket is refused (ENXIO)
    // before anything opens it. -1 with errno set when it cannot.
    int open(std::string_view logical, int flags) const;
    // The same for an entry already located.
    static int openEntry(const Entry& entry, int flags);

    // Host path of a logical path with every link resolved inside the root, for handing to other
    // programs (a file viewer), never for opening; none when the links loop.
    std::optional<std::string> resolve(std::string_view logical) const;
    // Like resolve, but a last link is kept as it is.
    std::optional<std::string> resolveParent(std::string_view logical) const;
    // The host path the logical path names when no link is involved.
    std::string hostPathOf(std::string_view logical) const;
    // The logical path of a host path someone chose (in a folder dialog), both sides taken with
    // their links resolved; none when it does not exist or lies outside the root.
    std::optional<std::string> logicalPathOfChosen(const std::string& chosenHostPath) const;

private:
    // The folder a logical path names, every link resolved inside the root; one implementation
    // per operating system.
    int openFolder(std::string_view logical) const;
    static int openTop(const std::string& host);
    std::optional<std::string> walk(std::string_view logical, bool followLast) const;

    std::string host_;
    std::shared_ptr<const UniqueFd> fd_; // the root folder, opened once
    bool systemRoot_ = false;
};

} // namespace sentravex
