#include "LocalSocketTrust.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sentravex {

bool isPrivateFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::optional<uid_t> peerUid(int socket) {
#ifdef __linux__
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return std::nullopt;
    return credentials.uid;
#else
    uid_t uid = 0;
    gid_t gid = 0;
    if (::getpeereid(socket, &uid, &gid) != 0)
        return std::nullopt;
    return uid;
#endif
}

} // namespace sentravex
