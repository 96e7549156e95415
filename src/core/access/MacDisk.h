#pragma once

#include <optional>
#include <string>

namespace sentravex {

class FileSystem;

// Why a root and login name cannot be scanned nor cleaned, as one sentence naming the root as it
// was given; none when they can. A folder that holds none of a Mac disk's top folders is no Mac
// disk, and a home folder that is not there leaves the user's own places unsearched: either
// would end in an all-clear that is not one.
std::optional<std::string> macDiskProblem(const FileSystem& fs, const std::string& user,
                                          const std::string& givenRoot);

} // namespace sentravex
