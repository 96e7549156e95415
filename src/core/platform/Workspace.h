#pragma once

#include <string>
#include <vector>

namespace sentravex {

// The desktop around the program: running applications, the browser and the file viewer.
class Workspace {
public:
    struct RunningApplication {
        std::string localizedName;
        std::string bundleIdentifier;
        long processIdentifier = 0;
    };

    virtual ~Workspace() = default;
    virtual std::vector<RunningApplication> runningApplications() const = 0;
    // A normal quit request, not a forced one; the answer is not awaited.
    virtual void terminate(const RunningApplication& app) = 0;
    virtual bool openURL(const std::string& url) = 0;
    // Shows the folder holding a file of this machine (a host path, as the caller resolved it
    // inside the root) with the file selected where the viewer can.
    virtual bool selectFile(const std::string& path) = 0;
};

} // namespace sentravex
