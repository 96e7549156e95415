// Linux confines each lookup in the kernel (openat2 with RESOLVE_IN_ROOT); the descriptor walk
// serves kernels that lack it.
#include "Openat2.h"
#include "Root.h"
#include "RootWalk.h"

#include <atomic>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace sentravex {
namespace {

// A rename anywhere on the system during a lookup through ".." makes the kernel answer EAGAIN.
constexpr int lookups = 8;

long kernelOpenat2(int folderFd, const char* path, open_how* how, std::size_t size) {
    return ::syscall(SYS_openat2, folderFd, path, how, size);
}

std::atomic<bool> kernelLacksOpenat2{false};

} // namespace

Openat2Call openat2Call = kernelOpenat2;

int Root::openTop(const std::string& host) {
    return ::open(host.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

int Root::openFolder(std::string_view logical) const {
    if (kernelLacksOpenat2)
        return walkToFolder(fd_->get(), logical);
    const auto start = logical.find_first_not_of('/');
    const std::string relative =
        start == std::string_view::npos ? std::string(".") : std::string(logical.substr(start));
    open_how how{};
    how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_IN_ROOT | RESOLVE_NO_MAGICLINKS;
    for (int attempt = 0; attempt < lookups; ++attempt) {
        long fd = openat2Call(fd_->get(), relative.c_str(), &how, sizeof how);
        if (fd >= 0)
            return static_cast<int>(fd);
        if (errno == ENOSYS) {
            kernelLacksOpenat2 = true;
            return walkToFolder(fd_->get(), logical);
        }
        if (errno != EAGAIN)
            return -1;
    }
    return -1; // still racing: this path fails with EAGAIN, and nothing else is tried
}

} // namespace sentravex
