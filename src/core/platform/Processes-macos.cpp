#include "BundleIcon.h"
#include "LocalFileSystem.h"
#include "Processes.h"
#include "PropertyList.h"
#include "ScriptShape.h"
#include "Spawn.h"

#include <csignal>
#include <libproc.h>
#include <sys/proc_info.h>
#include <unistd.h>

namespace sentravex {
namespace {

constexpr std::string_view bundleSuffix = ".app/Contents/MacOS/";

std::string executablePath(pid_t pid) {
    char path[PROC_PIDPATHINFO_MAXSIZE];
    int n = ::proc_pidpath(pid, path, sizeof path);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

RunningProcess describe(const LocalFileSystem& disk, long pid, const std::string& path) {
    RunningProcess process{pid, path.substr(path.find_last_of('/') + 1), {}};
    const auto suffix = path.rfind(bundleSuffix);
    if (suffix == std::string::npos)
        return process;
    const std::string bundle = path.substr(0, suffix + 4); // ".../Name.app"
    const auto slash = bundle.find_last_of('/');
    process.name = bundle.substr(slash + 1, bundle.size() - slash - 5);
    if (auto plist = disk.readFile(bundle + "/Contents/Info.plist", largestInfoPlist))
        process.bundleIdentifier = propertyListString(*plist, "CFBundleIdentifier").value_or("");
    return process;
}

} // namespace

std::vector<RunningProcess> SystemProcesses::running() const {
    std::vector<RunningProcess> out;
    int listed = ::proc_listallpids(nullptr, 0);
    if (listed <= 0)
        return out;
    // Room for the processes started since the count.
    std::vector<pid_t> pids(static_cast<std::size_t>(listed) + 64);
    listed = ::proc_listallpids(pids.data(), static_cast<int>(pids.size() * sizeof(pid_t)));
    const LocalFileSystem disk;
    const uid_t me = ::getuid();
    const pid_t self = ::getpid();
    for (int i = 0; i < listed && static_cast<std::size_t>(i) < pids.size(); ++i) {
        const pid_t pid = pids[static_cast<std::size_t>(i)];
        proc_bsdinfo info{};
        if (pid <= 0 || pid == self ||
            ::proc_pidinfo(pid, PROC_PIDTBSDINFO, 0, &info, sizeof info) !=
                static_cast<int>(sizeof info) ||
            info.pbi_uid != me)
            continue;
        if (const auto path = executablePath(pid); !path.empty())
            out.push_back(describe(disk, pid, path));
    }
    return out;
}

// An application is asked by Apple event, as the Dock's Quit does; the reply is not awaited.
void SystemProcesses::requestQuit(const RunningProcess& process) const {
    if (process.bundleIdentifier.empty()) {
        if (process.pid > 0)
            ::kill(static_cast<pid_t>(process.pid), SIGTERM);
        return;
    }
    spawnAndWait({"/usr/bin/osascript", "-e",
                  "ignoring application responses\ntell application id \"" +
                      appleScriptEscaped(process.bundleIdentifier) + "\" to quit\nend ignoring"});
}

std::string currentExecutable() {
    return executablePath(::getpid());
}

} // namespace sentravex
