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
    auto state = parseJsonObject(*data);
    if (!state)
        return profiles;
    const Json* cache = valueAtKeyPath(*state, "profile.info_cache");
    if (!cache || !cache->is_object())
        return profiles;
    for (const auto& [folder, info] : cache->items()) {
        if (!isFolderName(folder))
            continue;
        // A profile without a display name goes by its folder's name.
        auto name = stringAtKeyPath(info, "name");
        profiles.push_back({folder, name ? *name : folder});
    }
    return profiles;
}

} // namespace sentravex
