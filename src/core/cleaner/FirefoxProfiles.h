#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sentravex {

class FileSystem;

// One "[Name]" section of an INI file, its "key=value" lines in order.
struct IniSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;

    // The first value of a key; none when the section has no such line.
    std::optional<std::string> value(std::string_view key) const;
};

// Sections in the file's order. Lines outside a section, without "=", or holding a NUL are
// passed over; a "\r" before the line end is dropped. Never fails.
std::vector<IniSection> parseIni(std::string_view text);

// profiles.ini and installs.ini are a few hundred bytes; a larger file is not read at all.
inline constexpr std::size_t mostFirefoxIniBytes = std::size_t{64} * 1024;

// "~/Library/Application Support/Firefox", which holds profiles.ini, installs.ini and Profiles.
std::string firefoxFolder(const std::string& user);

// The profile folder Firefox itself starts with: the "Default" of an install section of
// profiles.ini or installs.ini (Firefox 67 and later), else the profile marked "Default=1".
// Only a folder that exists directly inside the profiles folder is taken, whatever the files
// say; none otherwise.
std::optional<std::string> firefoxDefaultProfile(const FileSystem& fs, const std::string& user);

} // namespace sentravex
