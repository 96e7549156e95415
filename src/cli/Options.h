#pragma once

#include "platform/LocalFileSystem.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json_fwd.hpp>
#include <stdexcept>
#include <string>

namespace sentravex::cli {

// A usage or environment error: one line on stderr, exit 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A root to scan or clean, and the login name whose home folder lies in it.
struct MacDisk {
    LocalFileSystem fs;
    std::string user;
};

// The options every job on a Mac takes.
struct MacOptions {
    std::string root = "/";
    std::string user;
    bool json = false;

    void addTo(CLI::App& command);
    // The checked root and login name; throws UsageError.
    LocalFileSystem openFileSystem() const;
    std::string userName() const;
    // Both, and the root checked as a Mac disk holding that home folder; throws UsageError.
    MacDisk openMacDisk() const;
};

// The login name given with --user, else this account's; throws UsageError when it cannot name
// a home folder.
std::string checkedUser(const std::string& given);

// One JSON document on stdout; names that are not UTF-8 are printed with replacement characters.
void printJson(const nlohmann::ordered_json& doc);

enum ExitCode { exitDone = 0, exitFound = 1, exitUsage = 2 };

} // namespace sentravex::cli
