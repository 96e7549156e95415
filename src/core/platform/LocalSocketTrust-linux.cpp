#include "LocalSocketTrust.h"

#include <sys/socket.h>

namespace sentravex {

std::optional<uid_t> peerUid(int socket) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return std::nullopt;
    return credentials.uid;
}

} // namespace sentravex
