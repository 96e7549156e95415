#pragma once

#include "platform/Processes.h"

namespace sentravex::test {

// A process list set by the test.
class FakeProcesses : public Processes {
public:
    std::vector<RunningProcess> processes;
    std::vector<RunningProcess> running() const override { return processes; }

    FakeProcesses& with(std::string name, std::string bundleIdentifier = {}) {
        processes.push_back({static_cast<long>(processes.size()) + 100, std::move(name),
                             std::move(bundleIdentifier)});
        return *this;
    }
};

} // namespace sentravex::test
