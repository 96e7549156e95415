#include "Commands.h"
#include "Options.h"
#include "removal/PrivilegedPaths.h"
#include "removal/ProtectedDeletion.h"
#include "view/TerminalText.h"

#include <iostream>
#include <memory>

namespace sentravex::cli {

namespace {

struct ProtectedArgs {
    std::string root;
    FolderIdentity scanned;
};

} // namespace

// What `remove` runs with administrator rights for a root other than "/": only the seven
// protected paths, deleted with the confined deletion, under the very folder that was scanned.
Job addProtectedCommand(CLI::App& app) {
    auto args = std::make_shared<ProtectedArgs>();
    auto* command = app.add_subcommand(std::string(protectedDeletionCommand),
                                       "Delete the suite's protected files under a root");
    command->group(""); // run by `remove`, not by hand
    command->add_option("--root", args->root, "Folder laid out like a Mac disk")->required();
    command->add_option("--root-device", args->scanned.device, "Device of the scanned root")
        ->required();
    command->add_option("--root-inode", args->scanned.inode, "Inode of the scanned root")
        ->required();

    return [args] {
        MacOptions options;
        options.root = args->root;
        const auto fs = options.openFileSystem();
        // Another folder may stand at that path since the scan (while the password was asked).
        if (fs.root().identity() != args->scanned)
            throw UsageError(args->root +
                             " is no longer the folder that was scanned; nothing was deleted");
        const auto failures = removeProtectedPaths(fs);
        for (const auto& f : failures)
            std::cerr << "sentravex-cli: not removed: " << terminalText(f.path) << " ("
                      << terminalText(f.error) << ")\n";
        return failures.empty() ? exitDone : exitFound;
    };
}

} // namespace sentravex::cli
