#include "SystemScriptRunner.h"

#include "ScriptShape.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace sentravex {
namespace {

constexpr const char* osascript = "/usr/bin/osascript";
constexpr std::size_t commLength = 15; // the kernel keeps this much of a process name

bool executable(const char* path) {
    return ::access(path, X_OK) == 0;
}

const char* firstExecutable(std::initializer_list<const char*> paths) {
    for (const char* p : paths)
        if (executable(p))
            return p;
    return nullptr;
}

// Runs a program without a shell, its output discarded, and tells whether it exited with 0.
bool spawnAndWait(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int rc = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string firstLine(const std::string& file, char end) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    std::getline(in, line, end);
    return line;
}

bool namedExactly(const std::string& procDir, const std::string& name) {
    std::string comm = firstLine(procDir + "/comm", '\n');
    if (name.size() <= commLength)
        return comm == name;
    if (comm != name.substr(0, commLength))
        return false;
    std::string argv0 = firstLine(procDir + "/cmdline", '\0');
    return std::string_view(argv0).substr(argv0.find_last_of('/') + 1) == name;
}

void terminateProcessesNamed(const std::string& name) {
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return;
    const uid_t me = ::getuid();
    const pid_t self = ::getpid();
    while (dirent* e = ::readdir(proc)) {
        char* end = nullptr;
        long pid = std::strtol(e->d_name, &end, 10);
        if (*end != '\0' || pid <= 0 || pid == self)
            continue;
        std::string dir = std::string("/proc/") + e->d_name;
        struct stat st {};
        if (::stat(dir.c_str(), &st) != 0 || st.st_uid != me || !namedExactly(dir, name))
            continue;
        ::kill(static_cast<pid_t>(pid), SIGTERM);
    }
    ::closedir(proc);
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
    if (executable(osascript))
        return spawnAndWait({osascript, "-e", source});
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
