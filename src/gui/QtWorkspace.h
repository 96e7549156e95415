#pragma once

#include "platform/Workspace.h"

#include <QIcon>

namespace sentravex {

class Root;

// The desktop of this machine: processes of this account, the default browser and file viewer.
class QtWorkspace : public Workspace {
public:
    std::vector<RunningApplication> runningApplications() const override;
    void terminate(const RunningApplication& app) override;
    bool openURL(const std::string& url) override;
    bool selectFile(const std::string& path) override;

    // The icon an application bundle of the Mac tree names in its Info.plist (an .icns in its
    // resources); a null icon when it names none or the image cannot be read.
    static QIcon iconForFile(const Root& root, const std::string& bundle);
};

} // namespace sentravex
