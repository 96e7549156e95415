#pragma once

#include "platform/Root.h"
#include "platform/Workspace.h"

namespace sentravex {

// The desktop of this machine: processes of this account, the default browser and file viewer.
class QtWorkspace : public Workspace {
public:
    explicit QtWorkspace(Root root) : root_(std::move(root)) {}

    std::vector<RunningApplication> runningApplications() const override;
    void terminate(const RunningApplication& app) override;
    bool openURL(const std::string& url) override;
    bool selectFile(const std::string& logicalPath) override;

private:
    Root root_;
};

} // namespace sentravex
