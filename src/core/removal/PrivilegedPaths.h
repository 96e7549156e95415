#pragma once

#include <array>
#include <string_view>

namespace sentravex {

// The suite's protected paths: the privileged deletion removes exactly these, in this order, and
// a threat on one of them takes the privileged route. The first is the application bundle.
inline constexpr std::array<std::string_view, 7> privilegedPaths{
    "/Applications/Quorvane.app",
    "/private/tmp/com.quorvane.Quorvane.Installer.config",
    "/private/var/db/receipts/com.quorvane.Quorvane.affid.pkg.plist",
    "/private/var/db/receipts/com.quorvane.Quorvane.affid.pkg.bom",
    "/private/var/db/receipts/com.quorvane.Quorvane.pkg.plist",
    "/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom",
    "/Library/Preferences/.3FAD0F65-FC6E-4889-B975-B96CBF807B78",
};

inline constexpr std::string_view quorvaneApplicationName = "Quorvane";

// The command-line program's command that deletes the protected paths under a root; the window
// and the command line run it with administrator rights for a root other than "/".
inline constexpr std::string_view protectedDeletionCommand = "remove-protected";

} // namespace sentravex
