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
// of them. None when the file cannot be read; empty when it is malformed. Only they are kept
// while the file is read, so memory stays near the file's size whatever else it holds.
std::optional<std::vector<ChromeProfile>> readChromeProfiles(const FileSystem& fs,
                                                             const std::string& user);

// The profiles read on first use and kept, so that the collectors of one build read the file
// once between them.
class ChromeProfilesOnce {
public:
    ChromeProfilesOnce(const FileSystem& fs, std::string user) : fs_(fs), user_(std::move(user)) {}

    const std::optional<std::vector<ChromeProfile>>& profiles();

private:
    const FileSystem& fs_;
    std::string user_;
    bool read_ = false;
    std::optional<std::vector<ChromeProfile>> profiles_;
};

} // namespace sentravex
