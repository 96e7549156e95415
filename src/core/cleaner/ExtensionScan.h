#pragma once

#include "ExtensionRecord.h"
#include "StopFlag.h"

#include <optional>
#include <string>
#include <vector>

namespace sentravex {

class FileSystem;
struct ChromeProfile;

// Finds the extensions the browsers installed for a user. Only reads.
class ExtensionScan {
public:
    using Urls = std::vector<std::string>;

    // Both end at their next version folder or add-on entry once `stop` is asked for.
    static std::vector<ExtensionRecord> getChromeExtantionList(const FileSystem& fs,
                                                               const std::string& user,
                                                               const StopFlag* stop = nullptr);
    // The same over Chrome profiles already read.
    static std::vector<ExtensionRecord>
    getChromeExtantionList(const FileSystem& fs, const std::string& user,
                           const std::vector<ChromeProfile>& profiles,
                           const StopFlag* stop = nullptr);
    // Only add-ons that lie inside a Firefox profile: the store is any program's to write, and
    // a listed row is deleted whole.
    static std::vector<ExtensionRecord> getFirefoxExtantionList(const FileSystem& fs,
                                                                const std::string& user,
                                                                const StopFlag* stop = nullptr);
    // The Safari extensions folder's entries, unfiltered.
    static Urls getSafariExtantionList(const FileSystem& fs, const std::string& user);

    // The name a "__MSG_" placeholder stands for in a version folder's "_locales"; the placeholder
    // itself when it cannot be looked up; none when the folder has no "_locales".
    static std::optional<std::string> resolveMessageName(const FileSystem& fs,
                                                         const std::string& versionFolder,
                                                         const std::string& placeholder);
    // The message key of a placeholder: "__MSG_appName__" gives "appName", "__MSG_APP_NAME__"
    // gives "app_name".
    static std::string messageKey(const std::string& placeholder);

    static std::string firefoxProfilesFolder(const std::string& user);
};

} // namespace sentravex
