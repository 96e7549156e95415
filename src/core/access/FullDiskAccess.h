#pragma once

#include "AlertPanel.h"

#include <optional>
#include <string>

namespace sentravex {

class FileSystem;
class Workspace;

// Whether the system holds private data back from this program until the user grants it Full
// Disk Access.
enum class FullDiskAccess {
    NothingToAsk, // every protected place answered, or is not there
    Missing,      // a protected place refused to be read
};

// Whether this operating system keeps private data from programs without the grant; one
// implementation per system.
bool systemGuardsPrivateData();

// Asks a few files and folders the system protects (Safari's bookmarks, Mail's container, …)
// rather than the whole tree: one refusal means the grant is missing.
FullDiskAccess probeFullDiskAccess(const FileSystem& fs, const std::string& user);

// Only this Mac's own disk (root "/") is guarded so; another root, or another system, has
// nothing to ask and gets no answer.
std::optional<FullDiskAccess> fullDiskAccess(const FileSystem& fs, const std::string& user,
                                             bool systemRoot,
                                             bool guardedSystem = systemGuardsPrivateData());

// The pane of System Settings where the grant is given.
inline constexpr const char* kFullDiskAccessSettingsUrl =
    "x-apple.systempreferences:com.apple.preference.security?Privacy_AllFiles";
extern const AlertMessage kFullDiskAccessNotice;

// Before a scan or a clean, while the grant is missing: the notice. "Open System Settings" opens
// the pane and the work waits for the user to come back; "Continue" goes on with what may be
// read. True when the work goes on.
bool goOnWithoutFullDiskAccess(std::optional<FullDiskAccess> access, AlertPanel& alerts,
                               Workspace& workspace);

// A refusal by a privacy rule or the file's permissions, as opposed to absence or a fault.
bool isRefusal(int error);

} // namespace sentravex
