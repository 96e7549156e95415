#pragma once

#include <string>
#include <vector>

namespace sentravex {

class FileSystem;

// Shallow folder listings the catalogue check and the extension enumeration take.
class QuorvaneScan {
public:
    using Urls = std::vector<std::string>;

    // Entries directly inside a folder, hidden ones too, stopping at the first error.
    static Urls getUrlListAt(const FileSystem& fs, const std::string& folder);
    // The disk's folder, then the same folder in the user's home.
    static Urls getApplicationSupportList(const FileSystem& fs, const std::string& user);
    static Urls getLaunchAgentsList(const FileSystem& fs, const std::string& user);
    static Urls getLaunchDaemonsList(const FileSystem& fs, const std::string& user);
};

} // namespace sentravex
