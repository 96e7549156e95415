#include "AccessGrants.h"

#include "AlertPanel.h"
#include "Bookmarks.h"
#include "OpenPanel.h"
#include "platform/Account.h"
#include "platform/Defaults.h"
#include "platform/FileSystem.h"

namespace sentravex {
namespace {

const AlertMessage kWholeDiskAlert{
    "Access Alert",
    "Sentravex does not have permission to scan your entire mac. Please grant root access or "
    "continue to only scan your user directory.",
    {"Continue", "Confirm Access"}};

const AlertMessage kBookmarkFailedAlert{"Error", "Access Denied", {}};

} // namespace

bool AccessGrants::checkForHDAccess() {
    if (s_.defaults.boolForKey(kSandboxingDone)) {
        if (isHDAccessible())
            return true;
        if (s_.alerts.runModal(kWholeDiskAlert) != kAlertFirstButtonReturn)
            confirmAccessAction();
        return true;
    }

    if (s_.defaults.value(kSaveDirectory)) {
        isUserAccessible();
        return true;
    }

    auto answer = runPanel(homeFolder(user_));
    if (answer.response != kOpenPanelOK)
        return false;
    s_.defaults.setBool(kLibraryAccess, true);
    if (answer.url)
        storeBookmark(*answer.url);
    return true;
}

void AccessGrants::confirmAccessAction() {
    auto answer = runPanel("/");
    if (answer.response == kOpenPanelOK && answer.url)
        storeBookmark(*answer.url);
}

void AccessGrants::isUserAccessible() {
    isUserDirAccessible_ = false;
    if (s_.fs.isWritable(homeFolder(user_)))
        isUserDirAccessible_ = true;
    else if (s_.defaults.value(kSaveDirectory))
        isUserDirAccessible_ = makeBookMarkURLAccessible(kSaveDirectory);
}

bool AccessGrants::isHDAccessible() {
    if (s_.fs.isWritable("/"))
        return true;
    return s_.defaults.value(kSaveDirectoryForHD) && makeBookMarkURLAccessible(kSaveDirectoryForHD);
}

bool AccessGrants::makeBookMarkURLAccessible(const std::string& key) {
    auto data = s_.defaults.value(key);
    return data && s_.bookmarks.startAccessing(*data);
}

OpenPanelAnswer AccessGrants::runPanel(const std::string& directory) {
    OpenPanelSettings settings;
    settings.prompt = "Confirm Access";
    settings.message = "Give access for scanning in your User Directory";
    settings.directory = directory;
    return s_.panel.runModal(settings);
}

// Whichever folder was granted last serves both routes; a failed bookmark leaves neither.
void AccessGrants::storeBookmark(const std::string& folder) {
    auto bookmark = s_.bookmarks.bookmarkData(folder);
    for (const char* key : {kSaveDirectory, kSaveDirectoryForHD}) {
        if (bookmark.data)
            s_.defaults.setValue(key, *bookmark.data);
        else
            s_.defaults.remove(key);
    }
    if (!bookmark.data) {
        s_.log << "Error bookmarking selected URL: " << bookmark.error << '\n';
        s_.alerts.runModal(kBookmarkFailedAlert);
    }
}

} // namespace sentravex
