#include "LocalSocketTrust.h"

#include <unistd.h>

namespace sentravex {

std::optional<uid_t> peerUid(int socket) {
    uid_t uid = 0;
    gid_t gid = 0;
    if (::getpeereid(socket, &uid, &gid) != 0)
        return std::nullopt;
    return uid;
}

} // namespace sentravex
