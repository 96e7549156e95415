#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace sentravex {

class FileSystem;

struct ChromeProfile {
    std::string folder; // folder name under the Chrome folder
    std::string name;   // display name
};

// Far above any real profile cache. Each profile makes nine rows, each sized: a small crafted
// file of a hundred thousand profiles would otherwise make the list take gigabytes.
inline constexpr std::size_t mostChromeProfiles = 256;

// "Local State" of the user's Chrome folder.
std::string chromeLocalStatePath(const std::string& user);
std::string chromeFolder(const std::string& user);

// The profiles of the Chrome profile cache, in the file's order, the first `mostChromeProfiles`
// of them. None when the file cannot be read; empty when it is malformed.
std::optional<std::vector<ChromeProfile>> readChromeProfiles(const FileSystem& fs,
                                                             const std::string& user);

} // namespace sentravex
