#include "FirefoxProfiles.h"

#include "platform/Account.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace sentravex {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A profile's "Path" as a logical path: relative to the Firefox folder when the section says
// so, else absolute. Only a path that is one real folder name directly inside the profiles
// folder is answered: no "..", ".", empty step or other place can lead the cleaner elsewhere.
std::optional<std::string> profileFolder(const std::string& firefox, std::string_view path,
                                         bool relative) {
    std::string full = relative ? firefox + "/" + std::string(path) : std::string(path);
    const std::string profiles = firefox + "/Profiles/";
    if (!full.starts_with(profiles))
        return std::nullopt;
    const std::string_view name = std::string_view(full).substr(profiles.size());
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos)
        return std::nullopt;
    return full;
}

// The "Default" paths that install sections name, in order: those of profiles.ini, then those of
// installs.ini. Firefox writes them relative to its folder unless the profile is elsewhere.
std::vector<std::string> installDefaults(const std::vector<IniSection>& profilesIni,
                                         const std::vector<IniSection>& installsIni) {
    std::vector<std::string> out;
    for (const auto& section : profilesIni)
        if (section.name.starts_with("Install"))
            if (auto path = section.value("Default"))
                out.push_back(*path);
    for (const auto& section : installsIni)
        if (auto path = section.value("Default"))
            out.push_back(*path);
    return out;
}

std::vector<IniSection> readIni(const FileSystem& fs, const std::string& path) {
    auto text = fs.readFile(path, mostFirefoxIniBytes);
    return text ? parseIni(*text) : std::vector<IniSection>{};
}

} // namespace

std::optional<std::string> IniSection::value(std::string_view key) const {
    for (const auto& [k, v] : values)
        if (k == key)
            return v;
    return std::nullopt;
}

std::vector<IniSection> parseIni(std::string_view text) {
    std::vector<IniSection> sections;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.find('\0') != std::string_view::npos)
            continue;
        if (line.starts_with('[') && line.ends_with(']')) {
            sections.push_back({std::string(line.substr(1, line.size() - 2)), {}});
            continue;
        }
        const auto equals = line.find('=');
        if (sections.empty() || equals == std::string_view::npos)
            continue;
        sections.back().values.emplace_back(std::string(trimmed(line.substr(0, equals))),
                                            std::string(trimmed(line.substr(equals + 1))));
    }
    return sections;
}

std::string firefoxFolder(const std::string& user) {
    return homeFolder(user) + "/Library/Application Support/Firefox";
}

std::optional<std::string> firefoxDefaultProfile(const FileSystem& fs, const std::string& user) {
    const std::string firefox = firefoxFolder(user);
    const auto profilesIni = readIni(fs, firefox + "/profiles.ini");
    const auto installsIni = readIni(fs, firefox + "/installs.ini");

    // An install's "Default" is a profile's "Path"; that profile says whether it is relative.
    auto asProfile = [&](const std::string& path) {
        bool relative = !path.starts_with('/');
        for (const auto& section : profilesIni)
            if (section.name.starts_with("Profile") && section.value("Path") == path)
                relative = section.value("IsRelative") == "1";
        return profileFolder(firefox, path, relative);
    };
    std::vector<std::optional<std::string>> candidates;
    for (const auto& path : installDefaults(profilesIni, installsIni))
        candidates.push_back(asProfile(path));
    for (const auto& section : profilesIni)
        if (section.name.starts_with("Profile") && section.value("Default") == "1")
            if (auto path = section.value("Path"))
                candidates.push_back(
                    profileFolder(firefox, *path, section.value("IsRelative") == "1"));
    for (const auto& candidate : candidates)
        if (candidate && fs.isDirectory(*candidate))
            return candidate;
    return std::nullopt;
}

} // namespace sentravex
