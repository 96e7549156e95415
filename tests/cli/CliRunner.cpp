#include "CliRunner.h"

#include "MacFixture.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sentravex::test {

CliResult runCli(const std::vector<std::string>& args, bool asNobody,
                 const std::function<void()>& beforeExec) {
    std::vector<std::string> argv{SENTRAVEX_CLI};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProgram(argv, asNobody, beforeExec);
}

CliResult runProgram(const std::vector<std::string>& args, bool asNobody,
                     const std::function<void()>& beforeExec) {
    int out[2], err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0)
        return {};
    for (int fd : {out[0], out[1], err[0], err[1]})
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    const Account drop = nobody();
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        if (asNobody && ::geteuid() == 0 && (::setgid(drop.gid) != 0 || ::setuid(drop.uid) != 0))
            ::_exit(126);
        if (beforeExec)
            beforeExec();
        std::vector<char*> argv;
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    CliResult result;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0 && ::poll(fds, 2, -1) > 0) {
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !fds[i].revents)
                continue;
            char buffer[4096];
            ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace sentravex::test
