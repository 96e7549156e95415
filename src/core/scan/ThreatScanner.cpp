#include "ThreatScanner.h"

#include "ProgressSink.h"
#include "QuorvaneScan.h"
#include "ThreatCatalogue.h"
#include "platform/Account.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace sentravex {
namespace {

std::string_view lastComponent(std::string_view path) {
    auto slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

char fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool containsIgnoringCase(std::string_view haystack, std::string_view needle) {
    auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                          [](char a, char b) { return fold(a) == fold(b); });
    return it != haystack.end();
}

ThreatScanner::Urls matching(const ThreatScanner::Urls& urls, const std::string& name) {
    ThreatScanner::Urls out;
    for (const auto& u : urls)
        if (containsIgnoringCase(lastComponent(u), name))
            out.push_back(u);
    return out;
}

} // namespace

std::string ThreatScanner::home(std::string_view suffix) const {
    return homeFolder(user_) + std::string(suffix);
}

void ThreatScanner::waitFor(double seconds, const std::string& text) {
    sink_->step(takeScanStep(), seconds, text);
}

ThreatScanner::Urls ThreatScanner::checkApplication(const std::string& name) {
    waitFor(catalogue::ownStepSeconds(catalogue::Check::Application),
            std::string(catalogue::filler));
    Urls visible;
    for (auto& u : fs_.listFolder("/Applications"))
        if (lastComponent(u).front() != '.')
            visible.push_back(std::move(u));
    return matching(visible, name);
}

ThreatScanner::Urls ThreatScanner::checkApplicationSupport(const std::string& name) {
    waitFor(catalogue::ownStepSeconds(catalogue::Check::ApplicationSupport),
            std::string(catalogue::filler));
    return matching(applicationSupportList_, name);
}

ThreatScanner::Urls ThreatScanner::checkLaunchAgents(const std::string& name) {
    waitFor(catalogue::ownStepSeconds(catalogue::Check::LaunchAgents),
            std::string(catalogue::filler));
    return matching(launchAgentsList_, name);
}

ThreatScanner::Urls ThreatScanner::checklaunchDaemons(const std::string& name) {
    waitFor(catalogue::ownStepSeconds(catalogue::Check::LaunchDaemons),
            std::string(catalogue::filler));
    return matching(launchDaemonsList_, name);
}

ThreatScanner::Urls ThreatScanner::checkUrlAvilble(const std::vector<std::string>& paths) const {
    Urls out;
    for (const auto& p : paths) {
        if (fs_.exists(p))
            out.push_back(p);
        if (auto variant = home(p); fs_.exists(variant))
            out.push_back(std::move(variant));
    }
    return out;
}

void ThreatScanner::addIfAvail(const std::string& url, const std::string& name,
                               const std::string& type, const std::string& risk,
                               std::int64_t size) {
    if (!fs_.exists(url))
        return;
    // A disk that ignores case, or a link on the way, lets two spellings name one entry. A link
    // at the end is an entry of its own (its removal leaves the target), so it goes by spelling.
    const auto entry = fs_.isLink(url) ? std::nullopt : fs_.identity(url);
    auto record = Quorvane::QuorvaneWithName(fs_, name, true, type, size, url, risk);
    std::lock_guard lock(listMutex_);
    if (listedUrls_.insert(url).second && (!entry || listedEntries_.insert(*entry).second))
        list_.push_back(std::move(record));
}

void ThreatScanner::record(const Urls& urls) {
    for (const auto& u : urls)
        addIfAvail(u, std::string(lastComponent(u)), std::string(catalogue::kind),
                   std::string(catalogue::risk), 0);
}

std::vector<QuorvanePtr> ThreatScanner::arrQuorvaneList() const {
    std::lock_guard lock(listMutex_);
    return list_;
}

void ThreatScanner::clear() {
    std::lock_guard lock(listMutex_);
    list_.clear();
    listedUrls_.clear();
    listedEntries_.clear();
}

void ThreatScanner::checkQuorvane(ProgressSink& sink) {
    using namespace catalogue;
    sink_ = &sink;
    sink.scanStarted();

    applicationSupportList_ = QuorvaneScan::getApplicationSupportList(fs_, user_);
    launchAgentsList_ = QuorvaneScan::getLaunchAgentsList(fs_, user_);
    launchDaemonsList_ = QuorvaneScan::getLaunchDaemonsList(fs_, user_);

    const std::string fillerText(filler);
    for (int i = 0; i < leadSteps; ++i)
        waitFor(fillerSeconds, fillerText);

    for (const auto& row : namedRows) {
        const std::string name(row.name);
        auto check = [&]() -> Urls {
            switch (row.check) {
            case Check::Application:
                return checkApplication(name);
            case Check::ApplicationSupport:
                return checkApplicationSupport(name);
            case Check::LaunchAgents:
                return checkLaunchAgents(name);
            case Check::LaunchDaemons:
                return checklaunchDaemons(name);
            }
            return {};
        };
        Urls found;
        if (stepsBeforeCheck(row.check)) {
            waitFor(row.seconds, name);
            found = check();
        } else {
            found = check();
            waitFor(row.seconds, name);
        }
        record(found);
        if (row.backupsStepAfter)
            waitFor(backupsSeconds, home(backupsFolder));
    }

    for (int i = 0; i < trailSteps; ++i)
        waitFor(fillerSeconds, fillerText);
    waitFor(backupsSeconds, home(backupsFolder));

    std::vector<std::string> paths;
    paths.reserve(std::size(locations));
    for (const auto& l : locations)
        paths.push_back(l.inHome ? home(l.path) : std::string(l.path));
    for (const auto& u : checkUrlAvilble(paths)) {
        waitFor(locationSeconds, u);
        record({u});
    }

    waitFor(singlesLeadSeconds, std::string(singlesLeadText));
    for (const auto& s : singlePaths) {
        std::string path = s.inHome ? home(s.path) : std::string(s.path);
        if (fs_.exists(path))
            record({path});
        std::string text = s.stepText.empty() ? path : std::string(s.stepText);
        for (int i = 0; i < s.steps; ++i)
            waitFor(s.seconds, text);
    }

    sink_ = nullptr;
    sink.scanDone();
}

} // namespace sentravex
