#include "FullDiskAccess.h"

#include "platform/Account.h"
#include "platform/FileSystem.h"
#include "platform/Workspace.h"

#include <array>
#include <cerrno>
#include <string_view>

namespace sentravex {
namespace {

// Places the system guards, under the home folder unless absolute. Each one is either there on
// every Mac that has the application or absent, so absence says nothing.
constexpr std::array<std::string_view, 6> protectedPlaces{
    "Library/Safari/Bookmarks.plist",
    "Library/Containers/com.apple.Safari",
    "Library/Mail",
    "Library/Containers/com.apple.mail",
    "Library/Cookies",
    "/Library/Application Support/com.apple.TCC/TCC.db",
};

} // namespace

const AlertMessage kFullDiskAccessNotice{
    "Full Disk Access",
    // macOS applies the grant to the next launch, not to the program already running.
    "Sentravex needs Full Disk Access to see Safari, Mail and other applications' data. Once it "
    "is granted, quit and reopen Sentravex.",
    {"Open System Settings", "Continue"}};

bool goOnWithoutFullDiskAccess(std::optional<FullDiskAccess> access, AlertPanel& alerts,
                               Workspace& workspace) {
    if (access != FullDiskAccess::Missing)
        return true;
    if (alerts.runModal(kFullDiskAccessNotice) != kAlertFirstButtonReturn)
        return true;
    workspace.openURL(kFullDiskAccessSettingsUrl);
    return false;
}

bool isRefusal(int error) {
    return error == EPERM || error == EACCES;
}

FullDiskAccess probeFullDiskAccess(const FileSystem& fs, const std::string& user) {
    const std::string home = homeFolder(user);
    for (auto place : protectedPlaces) {
        const std::string path =
            place.starts_with('/') ? std::string(place) : home + "/" + std::string(place);
        if (isRefusal(fs.readError(path)))
            return FullDiskAccess::Missing;
    }
    return FullDiskAccess::NothingToAsk;
}

std::optional<FullDiskAccess> fullDiskAccess(const FileSystem& fs, const std::string& user,
                                             bool systemRoot, bool guardedSystem) {
    if (!systemRoot || !guardedSystem)
        return std::nullopt;
    return probeFullDiskAccess(fs, user);
}

} // namespace sentravex
