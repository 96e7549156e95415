#include "Commands.h"
#include "Options.h"
#include "removal/PrivilegedPaths.h"
#include "removal/ProtectedDeletion.h"
#include "view/TerminalText.h"

#include <iostream>
#include <memory>

namespace sentravex::cli {

// What `remove` runs with administrator rights for a root other than "/": only the seven
// protected paths, deleted with the confined deletion.
Job addProtectedCommand(CLI::App& app) {
    auto root = std::make_shared<std::string>();
    auto* command = app.add_subcommand(std::string(protectedDeletionCommand),
                                       "Delete the suite's protected files under a root");
    command->group(""); // run by `remove`, not by hand
    command->add_option("--root", *root, "Folder laid out like a Mac disk")->required();

    return [root] {
        MacOptions options;
        options.root = *root;
        const auto failures = removeProtectedPaths(options.openFileSystem());
        for (const auto& f : failures)
            std::cerr << "sentravex-cli: not removed: " << terminalText(f.path) << " ("
                      << terminalText(f.error) << ")\n";
        return failures.empty() ? exitDone : exitFound;
    };
}

} // namespace sentravex::cli
