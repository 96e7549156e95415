#include "Commands.h"
#include "Options.h"
#include "scan/ProgressSink.h"
#include "scan/ThreatScanner.h"
#include "view/ResultPanel.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

namespace sentravex::cli {
namespace {

// Counts the pacing instead of waiting for it.
class CountingSink : public ProgressSink {
public:
    void step(int, double seconds, const std::string&) override {
        ++steps;
        tenths += static_cast<long>(seconds * 10 + 0.5);
    }
    int steps = 0;
    long tenths = 0;
};

} // namespace

Job addScanCommand(CLI::App& app) {
    auto options = std::make_shared<MacOptions>();
    auto* command = app.add_subcommand("scan", "Look for every trace of Quorvane");
    options->addTo(*command);

    return [options] {
        auto fs = options->openFileSystem();
        auto user = options->userName();
        ThreatScanner scanner(fs, user);
        CountingSink sink;
        scanner.checkQuorvane(sink);
        auto threats = scanner.arrQuorvaneList();

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
            doc["progress"] = {{"steps", sink.steps},
                               {"seconds", static_cast<double>(sink.tenths) / 10}};
            std::cout << doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        } else {
            for (const auto& t : threats)
                std::cout << t->url() << "  " << t->name() << '\n';
            std::cout << resultPanelAfterScan(threats.size()).text << '\n';
        }
        return threats.empty() ? exitDone : exitFound;
    };
}

} // namespace sentravex::cli
