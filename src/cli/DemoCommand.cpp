#include "Commands.h"
#include "Options.h"
#include "demo/DemoTree.h"
#include "view/TerminalText.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <unistd.h>

namespace sentravex::cli {

Job addDemoCommand(CLI::App& app) {
    struct Args {
        std::string folder;
        std::string user;
    };
    auto args = std::make_shared<Args>();
    auto* command = app.add_subcommand("demo", "Write a demo Mac tree and print its root");
    command->add_option("DIR", args->folder, "Folder to write into (default: a new temporary one)");
    command->add_option("--user", args->user, "Login name of the demo home folder");

    return [args] {
        const std::string user = checkedUser(args->user);
        std::string folder = args->folder;
        if (folder.empty()) {
            std::string pattern =
                (std::filesystem::temp_directory_path() / "sentravex-demo-XXXXXX").string();
            if (!::mkdtemp(pattern.data()))
                throw UsageError("cannot make a temporary folder");
            folder = pattern;
        }
        if (!writeDemoTree(folder, user))
            throw UsageError("cannot write the demo tree into " + folder);
        std::cout << terminalText(std::filesystem::absolute(folder).lexically_normal().string())
                  << '\n';
        return exitDone;
    };
}

} // namespace sentravex::cli
