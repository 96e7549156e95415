#include "MacDisk.h"

#include "platform/Account.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace sentravex {
namespace {

constexpr std::array<std::string_view, 4> macDiskTops{"/Applications", "/Library", "/Users",
                                                      "/private"};

} // namespace

std::optional<std::string> macDiskProblem(const FileSystem& fs, const std::string& user,
                                          const std::string& givenRoot) {
    if (std::none_of(macDiskTops.begin(), macDiskTops.end(),
                     [&fs](std::string_view top) { return fs.exists(std::string(top)); }))
        return givenRoot + " does not look like a Mac disk";
    const auto home = homeFolder(user);
    if (!fs.isDirectory(home))
        return "no home folder " + home + " under " + givenRoot;
    return std::nullopt;
}

} // namespace sentravex
