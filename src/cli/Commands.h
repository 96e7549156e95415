#pragma once

#include <CLI/CLI.hpp>
#include <functional>

namespace sentravex::cli {

// Each job adds its subcommand and returns what runs it, giving the exit code.
using Job = std::function<int()>;

Job addScanCommand(CLI::App& app);
Job addDemoCommand(CLI::App& app);
Job addRemoveCommand(CLI::App& app);
Job addCleanCommand(CLI::App& app);
Job addProtectedCommand(CLI::App& app);

} // namespace sentravex::cli
