#pragma once

#include <string>
#include <string_view>

namespace sentravex {

// The login name of the running account, from the password database (never the environment).
std::string loginName();

// Whether a login name can name a home folder: one path component, neither "." nor "..".
bool validLoginName(std::string_view name);

// The home folder the program uses for a login name: always "/Users/<name>".
inline std::string homeFolder(const std::string& user) {
    return "/Users/" + user;
}

} // namespace sentravex
