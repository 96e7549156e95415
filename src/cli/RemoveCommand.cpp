#include "Commands.h"
#include "Options.h"
#include "UnpacedScan.h"
#include "platform/Processes.h"
#include "platform/SystemScriptRunner.h"
#include "removal/ThreatRemover.h"
#include "view/TerminalText.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

namespace sentravex::cli {

Job addRemoveCommand(CLI::App& app) {
    auto options = std::make_shared<MacOptions>();
    auto yes = std::make_shared<bool>(false);
    auto* command =
        app.add_subcommand("remove", "Look for every trace of Quorvane and remove what is found");
    options->addTo(*command);
    command->add_flag("--yes", *yes, "Really delete (administrator rights for protected files)");

    return [options, yes] {
        if (!*yes)
            throw UsageError("remove deletes files; run it again with --yes to go ahead");
        auto [fs, user] = options->openMacDisk();
        auto threats = scanWithoutPacing(fs, user).threats;

        SystemScriptRunner runner;
        SystemProcesses processes;
        ThreatRemover remover(fs, fs.root(), runner, processes,
                              ThreatRemover::privilegesOf(currentExecutable()));
        ResultPanel panel = remover.removeThisMalware(threats);
        const auto& results = remover.arrQuorvaneActionTaken();
        std::size_t remaining = remover.unDeletedQuorvane().size();
        bool restartRecommended = !threats.empty() && remaining == 0;

        if (options->json) {
            nlohmann::ordered_json doc;
            doc["threats"] = nlohmann::ordered_json::array();
            for (std::size_t i = 0; i < threats.size(); ++i)
                doc["threats"].push_back({{"name", threats[i]->name()},
                                          {"path", threats[i]->url()},
                                          {"result", results[i]}});
            doc["remaining"] = remaining;
            doc["restart_recommended"] = restartRecommended;
            printJson(doc);
        } else {
            for (std::size_t i = 0; i < threats.size(); ++i)
                std::cout << results[i] << "  " << terminalText(threats[i]->url()) << '\n';
            std::cout << (threats.empty() ? "No Threats Found" : panel.text) << '\n';
            if (restartRecommended)
                std::cout << "Restart the Mac to finish removing Quorvane.\n";
        }
        return remaining == 0 ? exitDone : exitFound;
    };
}

} // namespace sentravex::cli
