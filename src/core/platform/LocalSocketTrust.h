#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

namespace sentravex {

// Whether a folder is one only this account can write in: a folder itself (not a link to one),
// owned by the effective user, writable by neither its group nor others. A local socket there
// cannot have been put in place by anyone else.
bool isPrivateFolder(const std::string& path);

// The user at the other end of a connected local socket, or none when the system will not say.
std::optional<uid_t> peerUid(int socket);

} // namespace sentravex
