#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sentravex {

class FileSystem;

struct ChromeProfile {
    std::string folder; // folder name under the Chrome folder
    std::string name;   // display name
};

// "Local State" of the user's Chrome folder.
std::string chromeLocalStatePath(const std::string& user);
std::string chromeFolder(const std::string& user);

// The profiles of the Chrome profile cache, in the file's order. None when the file cannot be
// read; empty when it is malformed.
std::optional<std::vector<ChromeProfile>> readChromeProfiles(const FileSystem& fs,
                                                             const std::string& user);

} // namespace sentravex
