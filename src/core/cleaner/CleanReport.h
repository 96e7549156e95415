#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sentravex {

// What deleting a selection did, or would do in a dry run.
struct CleanReport {
    struct Selected {
        std::string category;
        std::string item;
        std::vector<std::string> paths;
    };
    using Failure = PathFailure;

    std::vector<Selected> selected;
    std::int64_t bytes = 0;           // allocated bytes deleted (or to be deleted)
    std::vector<std::string> deleted; // paths that were there and are gone (or would go)
    std::vector<Failure> failed;      // paths that could not be removed, wholly or in part
    std::uint64_t entries = 0;        // files, links and folders removed
    bool cancelled = false;           // stopped on request: the rest of the selection is left
    // Selected paths that refused to be read: the dry run could not size them, a clean could not
    // remove them.
    std::vector<std::string> unreadable;

    bool ok() const { return failed.empty(); }
};

// How far a clean has come, for a progress display.
struct CleanTally {
    std::uint64_t entries = 0; // files, links and folders removed
    std::int64_t bytes = 0;    // their allocated bytes
};

// Told after each entry a clean removed; answering false stops the clean after that entry.
using CleanProgress = std::function<bool(const CleanTally&)>;

} // namespace sentravex
