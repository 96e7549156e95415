#include "Commands.h"
#include "Options.h"
#include "platform/OpenFileLimit.h"
#include "view/TerminalText.h"

#include <exception>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

using namespace sentravex::cli;

namespace {

// Every error ends the same way: one line on stderr, whatever the message holds, and exit 2.
int failure(const std::string& message) {
    std::cerr << "sentravex-cli: " << sentravex::terminalText(message) << '\n';
    return exitUsage;
}

int run(int argc, char** argv) {
    CLI::App app{"Finds and removes the traces of the Quorvane suite on a Mac, and cleans private "
                 "data of its browsers and system."};
    app.require_subcommand(1);

    std::vector<std::pair<CLI::App*, Job>> jobs;
    for (auto add :
         {addScanCommand, addRemoveCommand, addCleanCommand, addDemoCommand, addProtectedCommand}) {
        std::size_t before = app.get_subcommands({}).size();
        Job job = add(app);
        jobs.emplace_back(app.get_subcommands({})[before], std::move(job));
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return exitDone;
    }
    for (auto& [command, job] : jobs)
        if (command->parsed())
            return job();
    return exitUsage;
}

} // namespace

int main(int argc, char** argv) {
    sentravex::raiseOpenFileLimit();
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        // Usage errors, and whatever the file system or the memory throws on the way.
        return failure(e.what());
    }
}
