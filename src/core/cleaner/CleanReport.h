#pragma once

#include <cstdint>
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
    struct Failure {
        std::string path;
        std::string error;
    };

    std::vector<Selected> selected;
    std::int64_t bytes = 0;           // allocated bytes deleted (or to be deleted)
    std::vector<std::string> deleted; // paths that were there and are gone (or would go)
    std::vector<Failure> failed;      // paths that could not be removed, wholly or in part

    bool ok() const { return failed.empty(); }
};

} // namespace sentravex
