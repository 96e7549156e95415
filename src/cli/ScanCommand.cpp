#include "Commands.h"
#include "Options.h"
#include "UnpacedScan.h"
#include "view/ResultPanel.h"
#include "view/TerminalText.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

namespace sentravex::cli {

Job addScanCommand(CLI::App& app) {
    auto options = std::make_shared<MacOptions>();
    auto* command = app.add_subcommand("scan", "Look for every trace of Quorvane");
    options->addTo(*command);

    return [options] {
        auto [fs, user] = options->openMacDisk();
        auto scan = scanWithoutPacing(fs, user);
        const auto& threats = scan.threats;

        if (options->json) {
            nlohmann::ordered_json doc;
            doc["root"] = options->root;
            doc["user"] = user;
            doc["threats"] = nlohmann::ordered_json::array();
            for (const auto& t : threats)
                doc["threats"].push_back({{"name", t->name()},
                                          {"path", t->url()},
                                          {"kind", t->infections()},
                                          {"risk", t->risk()}});
            doc["progress"] = {{"steps", scan.steps}, {"seconds", scan.seconds}};
            printJson(doc);
        } else {
            for (const auto& t : threats)
                std::cout << terminalText(t->url()) << "  " << terminalText(t->name()) << '\n';
            std::cout << resultPanelAfterScan(threats.size()).text << '\n';
        }
        return threats.empty() ? exitDone : exitFound;
    };
}

} // namespace sentravex::cli
