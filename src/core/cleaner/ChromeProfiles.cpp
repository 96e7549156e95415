#include "ChromeProfiles.h"

#include "JsonFile.h"
#include "platform/Account.h"
#include "platform/FileSystem.h"

namespace sentravex {
namespace {

// Folder names become path components: anything that could leave the Chrome folder is dropped.
bool isFolderName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

} // namespace

std::string chromeFolder(const std::string& user) {
    return homeFolder(user) + "/Library/Application Support/Google/Chrome";
}

std::string chromeLocalStatePath(const std::string& user) {
    return chromeFolder(user) + "/Local State";
}

std::optional<std::vector<ChromeProfile>> readChromeProfiles(const FileSystem& fs,
                                                             const std::string& user) {
    auto data = fs.readFile(chromeLocalStatePath(user), largestStore);
    if (!data)
        return std::nullopt;
    std::vector<ChromeProfile> profiles;
    constexpr std::string_view cachePath = "profile.info_cache";
    std::vector<std::string> folders; // in the file's order
    auto state = parseJsonObject(*data, cachePath, folders);
    if (!state)
        return profiles;
    const Json* cache = valueAtKeyPath(*state, cachePath);
    if (!cache || !cache->is_object())
        return profiles;
    for (const auto& folder : folders) {
        if (profiles.size() == mostChromeProfiles)
            break;
        auto info = cache->find(folder);
        if (info == cache->end() || !isFolderName(folder))
            continue;
        // A profile without a display name goes by its folder's name.
        auto name = stringAtKeyPath(*info, "name");
        profiles.push_back({folder, name ? *name : folder});
    }
    return profiles;
}

} // namespace sentravex
