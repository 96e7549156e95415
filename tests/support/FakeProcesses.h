#pragma once

#include "platform/Processes.h"

#include <functional>

namespace sentravex::test {

// A process list set by the test. A quit request is kept, and `onQuit` may act on it.
class FakeProcesses : public Processes {
public:
    std::vector<RunningProcess> running() const override { return processes; }
    void requestQuit(const RunningProcess& process) const override {
        quitRequests.push_back(process.pid);
        if (onQuit)
            onQuit(process);
    }

    FakeProcesses& with(std::string name, std::string bundleIdentifier = {}) {
        processes.push_back({static_cast<long>(processes.size()) + 100, std::move(name),
                             std::move(bundleIdentifier)});
        return *this;
    }

    std::vector<RunningProcess> processes;
    mutable std::vector<long> quitRequests;
    std::function<void(const RunningProcess&)> onQuit;
};

} // namespace sentravex::test
