#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sentravex {

// A program this account runs.
struct RunningProcess {
    long pid = 0;
    // The application's name where the program lies in an application bundle ("Quorvane" for
    // ".../Quorvane.app/Contents/MacOS/…"), else the name of its executable file.
    std::string name;
    std::string bundleIdentifier; // from the bundle's Info.plist; empty outside a bundle
};

// The running-processes service.
class Processes {
public:
    virtual ~Processes() = default;
    // This account's processes, this one left out.
    virtual std::vector<RunningProcess> running() const = 0;
    // Asks a process to quit the normal way, not by force; the answer is not awaited.
    virtual void requestQuit(const RunningProcess& process) const = 0;

    bool isRunning(std::string_view name) const {
        for (const auto& p : running())
            if (p.name == name)
                return true;
        return false;
    }
};

// The processes of this machine; one implementation per operating system.
class SystemProcesses : public Processes {
public:
    std::vector<RunningProcess> running() const override;
    void requestQuit(const RunningProcess& process) const override;
};

// The file this program runs from; empty when the system does not say.
std::string currentExecutable();

} // namespace sentravex
