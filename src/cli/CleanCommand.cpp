#include "Commands.h"
#include "Options.h"
#include "cleaner/ByteCount.h"
#include "cleaner/CheckBoxRules.h"
#include "cleaner/Cleaner.h"
#include "cleaner/RunningOwners.h"
#include "view/TerminalText.h"
#include "view/UnreadablePlaces.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <thread>

namespace sentravex::cli {
namespace {

using Json = nlohmann::ordered_json;

struct CleanArgs {
    MacOptions mac;
    std::vector<std::string> select;
    bool apply = false;
    bool closeRunning = false;
    bool force = false;
};

// Checks what one --select names, as the window's check boxes would.
void applySelection(std::vector<CleanerCategory>& categories, const std::string& choice) {
    for (auto& category : categories)
        if (choice == category.Name) {
            checkCategory(category, CheckState::On);
            return;
        }
    for (auto& category : categories) {
        const std::string prefix = category.Name + "/";
        if (choice.compare(0, prefix.size(), prefix) != 0)
            continue;
        // A name stands for every row that bears it: the same add-on in two profiles is two rows.
        std::string item = choice.substr(prefix.size());
        bool named = false;
        for (std::size_t row = 0; row < category.List.size(); ++row)
            if (category.List[row].NameText == item) {
                checkItem(category, row, CheckState::On);
                named = true;
            }
        if (!named)
            throw UsageError("no item \"" + item + "\" in " + category.Name);
        return;
    }
    throw UsageError("no category \"" + choice.substr(0, choice.find('/')) + "\" on this Mac");
}

Json bytesOf(const std::optional<std::int64_t>& bytes) {
    return bytes ? Json(*bytes) : Json(nullptr);
}

// Places that refused to be read are left out of every figure; the terminal hears of it once.
void warnUnreadable(const std::vector<std::string>& unreadable) {
    if (!unreadable.empty())
        std::cerr << "sentravex-cli: " << terminalText(unreadablePlacesLine(unreadable)) << '\n';
}

std::vector<std::string> unreadableOf(const std::vector<CleanerCategory>& categories) {
    std::vector<std::string> places;
    for (const auto& c : categories)
        places.insert(places.end(), c.unreadable.begin(), c.unreadable.end());
    return places;
}

void printListing(const std::vector<CleanerCategory>& categories,
                  const std::vector<RunningProcess>& running, bool systemRoot, bool json) {
    auto runningApplication = [&](const CleanerCategory& c) {
        auto owner = runningOwner(c, running, systemRoot);
        return owner ? owner->application : std::string();
    };
    if (json) {
        Json doc;
        doc["categories"] = Json::array();
        for (const auto& c : categories) {
            Json items = Json::array();
            for (const auto& i : c.List)
                items.push_back({{"name", i.NameText},
                                 {"size", i.sizeText},
                                 {"bytes", bytesOf(i.bytes)},
                                 {"enabled", i.isEnabled.value_or(false)},
                                 {"paths", i.AllList},
                                 {"unreadable", i.unreadable}});
            const auto application = runningApplication(c);
            doc["categories"].push_back(
                {{"name", c.Name},
                 {"size", c.Size},
                 {"bytes", bytesOf(c.bytes)},
                 {"enabled", c.isEnabled},
                 {"running", application.empty() ? Json(nullptr) : Json(application)},
                 {"unreadable", c.unreadable},
                 {"items", std::move(items)}});
        }
        doc["unreadable_places"] = unreadableOf(categories);
        printJson(doc);
        return;
    }
    for (const auto& c : categories) {
        const auto application = runningApplication(c);
        const auto size = sizeTextWithAccess(c.Size, c.unreadable);
        std::cout << terminalText(c.Name) << (size.empty() ? "" : "  " + size)
                  << (c.isEnabled ? "" : "  (disabled)")
                  << (application.empty() ? "" : "  (" + terminalText(application) + " is running)")
                  << '\n';
        for (const auto& i : c.List) {
            bool member = c.isFromAdware && i.isHeader;
            const auto itemSize = sizeTextWithAccess(i.sizeText, i.unreadable);
            std::cout << (member ? "    " : "  ") << terminalText(i.NameText)
                      << (itemSize.empty() ? "" : "  " + itemSize)
                      << (i.isEnabled.value_or(false) ? "" : "  (disabled)") << '\n';
        }
    }
}

void printReport(const CleanReport& report, bool apply, bool json) {
    if (json) {
        Json doc;
        doc["selected"] = Json::array();
        for (const auto& s : report.selected)
            doc["selected"].push_back(
                {{"category", s.category}, {"item", s.item}, {"paths", s.paths}});
        doc["bytes"] = report.bytes;
        doc["deleted"] = report.deleted;
        doc["failed"] = Json::array();
        for (const auto& f : report.failed)
            doc["failed"].push_back({{"path", f.path}, {"error", f.error}});
        doc["unreadable_places"] = report.unreadable;
        printJson(doc);
        return;
    }
    for (const auto& path : report.deleted)
        std::cout << (apply ? "deleted  " : "would delete  ") << terminalText(path) << '\n';
    for (const auto& f : report.failed)
        std::cout << "not removed  " << terminalText(f.path) << "  (" << terminalText(f.error)
                  << ")\n";
    std::string amount =
        std::to_string(report.bytes) + " bytes (" + byteCountText(report.bytes) + ")";
    if (!apply)
        std::cout << amount << " would be freed; nothing was deleted (add --apply)\n";
    else if (report.ok())
        std::cout << amount << " freed. You have successfully cleared selected data.\n";
    else
        std::cout << amount << " freed; " << report.failed.size()
                  << (report.failed.size() == 1 ? " path" : " paths") << " could not be removed\n";
}

// A running application writes back what is deleted from under it: nothing is deleted while one
// holds a selected category, unless it quits when asked.
void refuseWhileRunning(const std::vector<CleanerCategory>& categories, const Processes& processes,
                        bool closeRunning) {
    auto owners = runningOwners(categories, processes.running(), true);
    if (closeRunning && !owners.empty())
        owners = quitAndWait(owners, processes, [](std::chrono::milliseconds pause) {
            std::this_thread::sleep_for(pause);
        });
    if (!owners.empty())
        throw UsageError(runningOwnersText(owners) +
                         " (--close-running asks, --force cleans anyway)");
}

} // namespace

Job addCleanCommand(CLI::App& app) {
    auto args = std::make_shared<CleanArgs>();
    auto* command =
        app.add_subcommand("clean", "List the private data of the browsers, Mail, Flash and the "
                                    "system, and delete what is selected");
    args->mac.addTo(*command);
    command->add_option("--select", args->select,
                        "Check a whole category, or CATEGORY/ITEM (repeatable)");
    command->add_flag("--apply", args->apply, "Delete the selection (default: a dry run)");
    command->add_flag("--close-running", args->closeRunning,
                      "Ask a running browser or Mail whose data is selected to quit first");
    command->add_flag("--force", args->force, "Clean even what a running application holds");

    return [args] {
        auto [fs, user] = args->mac.openMacDisk();
        if (args->select.empty() && args->apply)
            throw UsageError("--apply needs --select");
        // A selection needs names and paths only; its bytes are counted on the way.
        Cleaner cleaner(fs, user, args->select.empty());
        auto categories = cleaner.availbleApp();
        const SystemProcesses processes;
        const bool systemRoot = fs.root().isSystemRoot();
        if (args->select.empty()) {
            printListing(categories,
                         systemRoot ? processes.running() : std::vector<RunningProcess>{},
                         systemRoot, args->mac.json);
            warnUnreadable(unreadableOf(categories));
            return static_cast<int>(exitDone);
        }
        for (const auto& choice : args->select)
            applySelection(categories, choice);
        if (args->apply && !args->force && systemRoot)
            refuseWhileRunning(categories, processes, args->closeRunning);
        auto report = cleaner.cleanSelected(categories, args->apply);
        printReport(report, args->apply, args->mac.json);
        warnUnreadable(report.unreadable);
        return static_cast<int>(report.ok() ? exitDone : exitFound);
    };
}

} // namespace sentravex::cli
