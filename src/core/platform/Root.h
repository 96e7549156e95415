#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace sentravex {

// The folder under which the Mac's logical paths ("/Applications/…") are found. Resolution stays
// inside it like a chroot: an absolute link is taken relative to the root and ".." never climbs
// above it, so nothing outside the root is ever reached.
class Root {
public:
    explicit Root(std::string hostPath = "/");

    const std::string& hostPath() const { return host_; }
    bool isSystemRoot() const { return host_ == "/"; }

    // Host path of a logical path with every link resolved inside the root; nullopt when the
    // links loop.
    std::optional<std::string> resolve(std::string_view logical) const;
    // Like resolve, but the last component is kept as it is even when it is a link: the path to
    // use for lstat, unlink and rmdir.
    std::optional<std::string> resolveParent(std::string_view logical) const;

    // Opens a logical path with open(2) flags, the kernel resolving every link inside the root
    // (O_NOFOLLOW keeps a last link itself). -1 with errno set when it cannot.
    int open(std::string_view logical, int flags) const;

    // The host path the logical path names when no link is involved.
    std::string hostPathOf(std::string_view logical) const;

private:
    std::optional<std::string> walk(std::string_view logical, bool followLast) const;

    std::string host_;
    std::shared_ptr<const int> fd_; // the root folder, opened once
};

} // namespace sentravex
