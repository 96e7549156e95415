#pragma once

#include <string>
#include <vector>

namespace sentravex::test {

struct CliResult {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs sentravex-cli with these arguments and collects what it printed.
CliResult runCli(const std::vector<std::string>& args);

} // namespace sentravex::test
