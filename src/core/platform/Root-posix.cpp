// Systems without a kernel lookup confined to a folder: every lookup is the descriptor walk.
#include "Root.h"
#include "RootWalk.h"

namespace sentravex {

int Root::openTop(const std::string& host) {
    return ::open(host.c_str(), folderSearchFlags | O_CLOEXEC);
}

int Root::openFolder(std::string_view logical) const {
    return walkToFolder(fd_->get(), logical);
}

} // namespace sentravex
