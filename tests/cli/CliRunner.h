#pragma once

#include <functional>
#include <string>
#include <vector>

namespace sentravex::test {

struct CliResult {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs sentravex-cli with these arguments and collects what it printed. `asNobody` runs it under
// the unprivileged "nobody" account when the tests run as the superuser, for whom permissions
// never fail. `beforeExec` runs in the child first (to set its limits).
CliResult runCli(const std::vector<std::string>& args, bool asNobody = false,
                 const std::function<void()>& beforeExec = {});
// The same for any program, `argv[0]` its path.
CliResult runProgram(const std::vector<std::string>& argv, bool asNobody = false,
                     const std::function<void()>& beforeExec = {});

} // namespace sentravex::test
