#include "RunningOwners.h"

#include <algorithm>

namespace sentravex {
namespace {

bool isChecked(const CleanerCategory& category) {
    return category.isChecked != CheckState::Off ||
           std::any_of(category.List.begin(), category.List.end(),
                       [](const CleanerItem& item) { return item.isChecked == CheckState::On; });
}

const CategoryOwner* ownerOf(std::string_view category) {
    for (const auto& owner : categoryOwners)
        if (owner.category == category)
            return &owner;
    return nullptr;
}

// "Safari, Google Chrome and Mail".
std::string applicationNames(const std::vector<RunningOwner>& owners) {
    std::string names;
    for (std::size_t i = 0; i < owners.size(); ++i) {
        if (i > 0)
            names += i + 1 == owners.size() ? " and " : ", ";
        names += owners[i].application;
    }
    return names;
}

} // namespace

std::vector<RunningProcess> processesOf(const CategoryOwner& owner,
                                        const std::vector<RunningProcess>& running) {
    std::vector<RunningProcess> out;
    for (const auto& p : running) {
        const bool named = !p.bundleIdentifier.empty()
                               ? p.bundleIdentifier == owner.bundleIdentifier
                               : std::find(owner.processNames.begin(), owner.processNames.end(),
                                           p.name) != owner.processNames.end();
        if (named && !p.name.empty())
            out.push_back(p);
    }
    return out;
}

std::optional<RunningOwner> runningOwner(const CleanerCategory& category,
                                         const std::vector<RunningProcess>& running,
                                         bool systemRoot) {
    const auto* owner = ownerOf(category.Name);
    if (!systemRoot || !owner)
        return std::nullopt;
    auto processes = processesOf(*owner, running);
    if (processes.empty())
        return std::nullopt;
    return RunningOwner{category.Name, std::string(owner->application), std::move(processes)};
}

std::vector<RunningOwner> runningOwners(const std::vector<CleanerCategory>& categories,
                                        const std::vector<RunningProcess>& running,
                                        bool systemRoot) {
    std::vector<RunningOwner> owners;
    for (const auto& category : categories)
        if (isChecked(category))
            if (auto owner = runningOwner(category, running, systemRoot))
                owners.push_back(std::move(*owner));
    return owners;
}

std::string runningOwnersText(const std::vector<RunningOwner>& owners) {
    const bool one = owners.size() == 1;
    return applicationNames(owners) + (one ? " is running. Quit it" : " are running. Quit them") +
           " before cleaning, or " + (one ? "it" : "they") + " may write back what is deleted.";
}

std::string quitWaitText(const std::vector<RunningOwner>& owners) {
    return "Waiting for " + applicationNames(owners) + " to quit…";
}

std::string stillRunningText(const std::vector<RunningOwner>& owners) {
    const bool one = owners.size() == 1;
    return applicationNames(owners) + " did not quit, so " + (one ? "its" : "their") +
           " data was not cleaned.";
}

void leaveOut(std::vector<CleanerCategory>& categories, const std::vector<RunningOwner>& owners) {
    for (auto& category : categories)
        if (std::any_of(owners.begin(), owners.end(), [&category](const RunningOwner& o) {
                return o.category == category.Name;
            })) {
            category.isChecked = CheckState::Off;
            for (auto& item : category.List)
                item.isChecked = CheckState::Off;
        }
}

std::vector<RunningOwner> quitAndWait(const std::vector<RunningOwner>& owners,
                                      const Processes& processes,
                                      const std::function<void(std::chrono::milliseconds)>& pause) {
    for (const auto& owner : owners)
        for (const auto& p : owner.processes)
            processes.requestQuit(p);
    std::vector<RunningOwner> still = owners;
    for (auto waited = std::chrono::milliseconds(0);; waited += quitPoll) {
        const auto running = processes.running();
        std::erase_if(still, [&running](RunningOwner& owner) {
            std::erase_if(owner.processes, [&running](const RunningProcess& p) {
                return std::none_of(running.begin(), running.end(),
                                    [&p](const RunningProcess& r) { return r.pid == p.pid; });
            });
            return owner.processes.empty();
        });
        if (still.empty() || waited >= quitPatience)
            return still;
        pause(quitPoll);
    }
}

} // namespace sentravex
