#pragma once

#include "OpenPanel.h"

#include <ostream>
#include <string>

namespace sentravex {

class AlertPanel;
class Bookmarks;
class Defaults;
class FileSystem;

// Defaults keys of the access grants.
inline constexpr const char* kSandboxingDone = "SandboxingDone";
inline constexpr const char* kSaveDirectory = "kSaveDirectory_1";
inline constexpr const char* kSaveDirectoryForHD = "kSaveDirectoryForHD-8";
inline constexpr const char* kLibraryAccess = "Library Access";

// Makes sure a scan may read what it scans: the home folder, or the whole disk when the remote
// flag under "SandboxingDone" asks for it. Asks the user through the panels and keeps each grant
// as a bookmark in the defaults, so that later launches do not ask again.
class AccessGrants {
public:
    struct Services {
        const FileSystem& fs;
        Defaults& defaults;
        const Bookmarks& bookmarks;
        OpenPanel& panel;
        AlertPanel& alerts;
        std::ostream& log;
    };

    AccessGrants(Services services, std::string user) : s_(services), user_(std::move(user)) {}

    // False only when the user dismissed the home-folder panel: then no scan starts.
    bool checkForHDAccess();
    // The whole-disk panel.
    void confirmAccessAction();
    // Sets isUserDirAccessible.
    void isUserAccessible();
    bool isHDAccessible();
    // Whether the bookmark stored under the key was brought back into force.
    bool makeBookMarkURLAccessible(const std::string& key);

    bool isUserDirAccessible() const { return isUserDirAccessible_; }

private:
    OpenPanelAnswer runPanel(const std::string& directory);
    void storeBookmark(const std::string& folder);

    Services s_;
    std::string user_;
    bool isUserDirAccessible_ = false;
};

} // namespace sentravex
