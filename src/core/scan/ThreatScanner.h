#pragma once

#include "Quorvane.h"
#include "platform/FileSystem.h"

#include <mutex>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

namespace sentravex {

class ProgressSink;

// The catalogue check: looks for every entry of the threat catalogue and keeps the threat list.
// The list may be read from another thread while a check appends to it.
class ThreatScanner {
public:
    using Urls = std::vector<std::string>;

    ThreatScanner(const FileSystem& fs, std::string user) : fs_(fs), user_(std::move(user)) {}

    // Runs the whole check, reporting every step to the sink, then `scanDone`.
    void checkQuorvane(ProgressSink& sink);

    std::vector<QuorvanePtr> arrQuorvaneList() const;
    void clear();

private:
    // The steps of a check: each reports to the sink of the check that runs.
    Urls checkApplication(const std::string& name);
    Urls checkApplicationSupport(const std::string& name);
    Urls checkLaunchAgents(const std::string& name);
    Urls checklaunchDaemons(const std::string& name);
    // Paths that exist, in order, each as written and then inside the home folder.
    Urls checkUrlAvilble(const std::vector<std::string>& paths) const;
    // Appends a record unless the location is missing or already listed, under this spelling or
    // as the same entry by another.
    void addIfAvail(const std::string& url, const std::string& name, const std::string& type,
                    const std::string& risk, std::int64_t size);

    void waitFor(double seconds, const std::string& text);
    void record(const Urls& urls);
    std::string home(std::string_view suffix) const;

    const FileSystem& fs_;
    std::string user_;
    ProgressSink* sink_ = nullptr;
    Urls applicationSupportList_;
    Urls launchAgentsList_;
    Urls launchDaemonsList_;

    mutable std::mutex listMutex_;
    std::vector<QuorvanePtr> list_;
    std::unordered_set<std::string> listedUrls_; // of list_, so that a find is looked up once
    std::set<FileIdentity> listedEntries_;       // of list_'s paths that could be identified
};

} // namespace sentravex
