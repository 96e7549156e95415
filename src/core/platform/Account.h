#pragma once

#include <string>

namespace sentravex {

// The login name of the running account, from the password database (never the environment).
std::string loginName();

// The home folder the program uses for a login name: always "/Users/<name>".
inline std::string homeFolder(const std::string& user) {
    return "/Users/" + user;
}

} // namespace sentravex
