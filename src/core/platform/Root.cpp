#include "Root.h"

#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace sentravex {
namespace {

constexpr int maxLinks = 40; // as the kernel's own ELOOP limit

void splitInto(std::string_view path, std::deque<std::string>& out, bool front) {
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i <= path.size()) {
        std::size_t j = path.find('/', i);
        if (j == std::string_view::npos)
            j = path.size();
        if (j > i)
            parts.emplace_back(path.substr(i, j - i));
        i = j + 1;
    }
    if (front)
        out.insert(out.begin(), parts.begin(), parts.end());
    else
        out.insert(out.end(), parts.begin(), parts.end());
}

std::optional<std::string> readLink(const std::string& path) {
    std::string target(256, '\0');
    for (;;) {
        ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return std::nullopt;
        if (static_cast<std::size_t>(n) < target.size()) {
            target.resize(static_cast<std::size_t>(n));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

} // namespace

Root::Root(std::string hostPath) : host_(std::move(hostPath)) {
    while (host_.size() > 1 && host_.back() == '/')
        host_.pop_back();
    if (host_.empty())
        host_ = "/";
    int fd = ::open(host_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    fd_ = std::shared_ptr<const int>(new int(fd), [](const int* p) {
        if (*p >= 0)
            ::close(*p);
        delete p;
    });
}

int Root::open(std::string_view logical, int flags) const {
    std::string relative(logical.substr(logical.find_first_not_of('/') == std::string_view::npos
                                            ? logical.size()
                                            : logical.find_first_not_of('/')));
    if (relative.empty())
        relative = ".";
    open_how how{};
    how.flags = static_cast<unsigned>(flags | O_CLOEXEC);
    how.resolve = RESOLVE_IN_ROOT | RESOLVE_NO_MAGICLINKS;
    for (int attempt = 0; attempt < 8; ++attempt) {
        long fd = ::syscall(SYS_openat2, *fd_, relative.c_str(), &how, sizeof how);
        if (fd >= 0)
            return static_cast<int>(fd);
        if (errno == EAGAIN) // a rename raced the lookup
            continue;
        if (errno != ENOSYS)
            return -1;
        break;
    }
    // Kernels without openat2: resolve inside the root ourselves.
    auto host = (flags & O_NOFOLLOW) ? resolveParent(logical) : resolve(logical);
    if (!host) {
        errno = ELOOP;
        return -1;
    }
    return ::open(host->c_str(), flags | O_CLOEXEC);
}

std::string Root::hostPathOf(std::string_view logical) const {
    std::string out = isSystemRoot() ? std::string() : host_;
    std::deque<std::string> parts;
    splitInto(logical, parts, false);
    for (const auto& p : parts)
        out += "/" + p;
    return out.empty() ? "/" : out;
}

std::optional<std::string> Root::resolve(std::string_view logical) const {
    return walk(logical, true);
}

std::optional<std::string> Root::resolveParent(std::string_view logical) const {
    return walk(logical, false);
}

std::optional<std::string> Root::walk(std::string_view logical, bool followLast) const {
    std::deque<std::string> pending;
    splitInto(logical, pending, false);
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
        std::string candidate = current + "/" + part;
        struct stat st {};
        bool last = pending.empty();
        if ((followLast || !last) && ::lstat(candidate.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
            if (++links > maxLinks)
                return std::nullopt;
            auto target = readLink(candidate);
            if (!target)
                return std::nullopt;
            if (!target->empty() && target->front() == '/') {
                done.clear();
                rebuild();
            }
            splitInto(*target, pending, true);
            continue;
        }
        done.push_back(std::move(part));
        current = std::move(candidate);
    }
    return current.empty() ? std::string("/") : current;
}

} // namespace sentravex
