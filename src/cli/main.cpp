#include "Commands.h"
#include "Options.h"

#include <iostream>
#include <utility>
#include <vector>

using namespace sentravex::cli;

int main(int argc, char** argv) {
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
    } catch (const CLI::ParseError& e) {
        std::cerr << "sentravex-cli: " << e.what() << '\n';
        return exitUsage;
    }

    try {
        for (auto& [command, job] : jobs)
            if (command->parsed())
                return job();
    } catch (const UsageError& e) {
        std::cerr << "sentravex-cli: " << e.what() << '\n';
        return exitUsage;
    }
    return exitUsage;
}
