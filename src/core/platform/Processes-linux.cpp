#include "Processes.h"
#include "UniqueFd.h"

#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sentravex {
namespace {

constexpr std::size_t commLength = 15; // the kernel keeps this much of a process name
constexpr std::size_t argumentLimit = 4096;

// At most `limit` bytes of a file of /proc, up to the first `end`.
std::string firstField(int folderFd, const char* file, char end, std::size_t limit) {
    UniqueFd fd(::openat(folderFd, file, O_RDONLY | O_CLOEXEC));
    std::string text(limit, '\0');
    ssize_t n = fd ? ::read(fd.get(), text.data(), text.size()) : -1;
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text.substr(0, text.find(end));
}

// The kernel cuts names short; the program's own first argument gives the whole name when it
// begins the same way.
std::string nameOf(int folderFd) {
    std::string comm = firstField(folderFd, "comm", '\n', commLength + 2);
    if (comm.size() < commLength)
        return comm;
    std::string argv0 = firstField(folderFd, "cmdline", '\0', argumentLimit);
    std::string base = argv0.substr(argv0.find_last_of('/') + 1);
    return base.starts_with(comm) ? base : comm;
}

// A process that has ended and waits for its parent to collect it runs no more.
bool ended(int folderFd) {
    std::string stat = firstField(folderFd, "stat", '\n', 512);
    auto close = stat.rfind(')');
    return close == std::string::npos || stat.compare(close, 3, ") Z") == 0 ||
           stat.compare(close, 3, ") X") == 0;
}

} // namespace

std::vector<RunningProcess> SystemProcesses::running() const {
    std::vector<RunningProcess> out;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return out;
    const uid_t me = ::getuid();
    const pid_t self = ::getpid();
    while (dirent* e = ::readdir(proc)) {
        char* end = nullptr;
        long pid = std::strtol(e->d_name, &end, 10);
        if (*end != '\0' || pid <= 0 || pid == self)
            continue;
        UniqueFd folder(::openat(::dirfd(proc), e->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        struct stat st {};
        if (!folder || ::fstat(folder.get(), &st) != 0 || st.st_uid != me || ended(folder.get()))
            continue;
        out.push_back({pid, nameOf(folder.get()), {}});
    }
    ::closedir(proc);
    return out;
}

void SystemProcesses::requestQuit(const RunningProcess& process) const {
    if (process.pid > 0)
        ::kill(static_cast<pid_t>(process.pid), SIGTERM);
}

std::string currentExecutable() {
    char path[4096];
    ssize_t n = ::readlink("/proc/self/exe", path, sizeof path);
    return n > 0 && static_cast<std::size_t>(n) < sizeof path
               ? std::string(path, static_cast<std::size_t>(n))
               : std::string();
}

} // namespace sentravex
