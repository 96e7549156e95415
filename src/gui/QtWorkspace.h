#pragma once

#include "platform/Workspace.h"

namespace sentravex {

// The desktop of this machine: processes of this account, the default browser and file viewer.
class QtWorkspace : public Workspace {
public:
    std::vector<RunningApplication> runningApplications() const override;
    void terminate(const RunningApplication& app) override;
    bool openURL(const std::string& url) override;
    bool selectFile(const std::string& path) override;
};

} // namespace sentravex
