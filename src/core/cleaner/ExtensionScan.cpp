#include "ExtensionScan.h"

#include "ChromeProfiles.h"
#include "JsonFile.h"
#include "platform/Account.h"
#include "platform/FileSystem.h"
#include "scan/QuorvaneScan.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string_view>

namespace sentravex {
namespace {

constexpr std::array preferredLocales{"en", "en_US", "en_GB"};

void eraseAll(std::string& text, std::string_view what) {
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at))
        text.erase(at, what.size());
}

// Whether a path names something at least two levels below the folder, with no step that could
// climb out of it: an add-on inside a profile, never a profile or the folder itself.
bool liesInsideProfile(const std::string& path, const std::string& profilesFolder) {
    if (path.size() <= profilesFolder.size() + 1 ||
        path.compare(0, profilesFolder.size(), profilesFolder) != 0 ||
        path[profilesFolder.size()] != '/')
        return false;
    std::string_view rest(path);
    rest.remove_prefix(profilesFolder.size() + 1);
    int depth = 0;
    for (;;) {
        auto slash = rest.find('/');
        auto step = rest.substr(0, slash);
        if (step.empty() || step == "." || step == "..")
            return false;
        ++depth;
        if (slash == std::string_view::npos)
            break;
        rest.remove_prefix(slash + 1);
    }
    return depth >= 2;
}

} // namespace

std::string ExtensionScan::firefoxProfilesFolder(const std::string& user) {
    return homeFolder(user) + "/Library/Application Support/Firefox/Profiles";
}

std::string ExtensionScan::messageKey(const std::string& placeholder) {
    std::string key = placeholder;
    eraseAll(key, "__");
    eraseAll(key, "MSG_");
    if (key.find('_') != std::string::npos)
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

std::optional<std::string> ExtensionScan::resolveMessageName(const FileSystem& fs,
                                                             const std::string& versionFolder,
                                                             const std::string& placeholder) {
    std::string locales = versionFolder + "/_locales";
    if (!fs.exists(locales))
        return std::nullopt;
    auto listing = QuorvaneScan::getUrlListAt(fs, locales);
    std::string locale;
    for (const char* preferred : preferredLocales)
        if (fs.exists(locales + "/" + preferred)) {
            locale = locales + "/" + preferred;
            break;
        }
    if (locale.empty()) {
        if (listing.empty())
            return placeholder;
        locale = listing.front();
    }
    auto messages = readJsonObject(fs, locale + "/messages.json");
    if (!messages)
        return placeholder;
    auto name = stringAtKeyPath(*messages, messageKey(placeholder) + ".message");
    return name ? *name : placeholder;
}

std::vector<ExtensionRecord> ExtensionScan::getChromeExtantionList(const FileSystem& fs,
                                                                   const std::string& user,
                                                                   const StopFlag* stop) {
    auto profiles = readChromeProfiles(fs, user);
    if (!profiles)
        return {};
    return getChromeExtantionList(fs, user, *profiles, stop);
}

std::vector<ExtensionRecord>
ExtensionScan::getChromeExtantionList(const FileSystem& fs, const std::string& user,
                                      const std::vector<ChromeProfile>& profiles,
                                      const StopFlag* stop) {
    std::vector<ExtensionRecord> records;
    for (const auto& profile : profiles) {
        if (stopRequested(stop))
            return records;
        std::string extensions = chromeFolder(user) + "/" + profile.folder + "/Extensions";
        for (const auto& idFolder : QuorvaneScan::getUrlListAt(fs, extensions)) {
            if (stopRequested(stop))
                return records;
            for (const auto& versionFolder : QuorvaneScan::getUrlListAt(fs, idFolder)) {
                if (stopRequested(stop))
                    return records;
                if (QuorvaneScan::getUrlListAt(fs, versionFolder).empty())
                    continue;
                std::string manifestPath = versionFolder + "/manifest.json";
                if (!fs.exists(manifestPath))
                    continue;
                auto manifest = readJsonObject(fs, manifestPath);
                if (!manifest)
                    continue;
                auto name = stringAtKeyPath(*manifest, "name");
                auto version = stringAtKeyPath(*manifest, "version");
                if (!name || !version)
                    continue;
                if (name->starts_with("__MSG_")) {
                    name = resolveMessageName(fs, versionFolder, *name);
                    if (!name)
                        continue;
                }
                records.push_back({idFolder, *version, *name, profile.name});
            }
        }
    }
    return records;
}

std::vector<ExtensionRecord> ExtensionScan::getFirefoxExtantionList(const FileSystem& fs,
                                                                    const std::string& user,
                                                                    const StopFlag* stop) {
    std::vector<ExtensionRecord> records;
    const std::string profilesFolder = firefoxProfilesFolder(user);
    for (const auto& profile : QuorvaneScan::getUrlListAt(fs, profilesFolder)) {
        if (stopRequested(stop))
            return records;
        std::string storePath = profile + "/extensions.json";
        if (!fs.exists(storePath))
            continue;
        auto store = readJsonObject(fs, storePath);
        if (!store)
            continue;
        auto addons = store->find("addons");
        if (addons == store->end() || !addons->is_array())
            continue;
        for (const auto& addon : *addons) {
            if (stopRequested(stop))
                return records;
            if (!addon.is_object())
                continue;
            const Json* descriptor = valueAtKeyPath(addon, "descriptor");
            auto location = stringAtKeyPath(
                addon, descriptor && !descriptor->is_null() ? "descriptor" : "path");
            auto name = stringAtKeyPath(addon, "defaultLocale.name");
            auto version = stringAtKeyPath(addon, "version");
            if (!location || !name || !version || *name == "Default")
                continue;
            if (!liesInsideProfile(*location, profilesFolder))
                continue;
            records.push_back({*location, *version, *name, "Default"});
        }
    }
    return records;
}

ExtensionScan::Urls ExtensionScan::getSafariExtantionList(const FileSystem& fs,
                                                          const std::string& user) {
    return QuorvaneScan::getUrlListAt(fs, homeFolder(user) + "/Library/Safari/Extensions");
}

} // namespace sentravex
