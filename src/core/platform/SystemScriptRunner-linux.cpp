#include "Processes.h"
#include "ScriptShape.h"
#include "Spawn.h"
#include "SystemScriptRunner.h"

#include <csignal>
#include <initializer_list>
#include <unistd.h>

namespace sentravex {
namespace {

const char* firstExecutable(std::initializer_list<const char*> paths) {
    for (const char* p : paths)
        if (::access(p, X_OK) == 0)
            return p;
    return nullptr;
}

void terminateProcessesNamed(const std::string& name) {
    for (const auto& process : SystemProcesses().running())
        if (process.name == name)
            ::kill(static_cast<pid_t>(process.pid), SIGTERM);
}

bool runAsAdministrator(const std::string& command) {
    if (::geteuid() == 0)
        return spawnAndWait({"/bin/sh", "-c", command});
    const char* pkexec = firstExecutable({"/usr/bin/pkexec", "/bin/pkexec"});
    return pkexec && spawnAndWait({pkexec, "/bin/sh", "-c", command});
}

bool requestRestart() {
    const char* systemctl = firstExecutable({"/usr/bin/systemctl", "/bin/systemctl"});
    return systemctl && spawnAndWait({systemctl, "reboot"});
}

} // namespace

bool SystemScriptRunner::run(const std::string& source) {
    auto shape = parseScript(source);
    if (!shape)
        return false;
    switch (shape->kind) {
    case ScriptShape::QuitApplication:
        terminateProcessesNamed(shape->argument);
        return true;
    case ScriptShape::AdministratorShell:
        return runAsAdministrator(shape->argument);
    case ScriptShape::Restart:
        return requestRestart();
    }
    return false;
}

} // namespace sentravex
