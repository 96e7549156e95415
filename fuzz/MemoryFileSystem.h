#pragma once

#include "platform/FileSystem.h"

#include <cerrno>
#include <map>
#include <set>

namespace sentravex::fuzz {

// A Mac tree held in memory: each fuzz input becomes a file without a trip to the disk. Folders
// are implied by the files beneath them; nothing is ever deleted.
class MemoryFileSystem : public FileSystem {
public:
    std::map<std::string, std::string> files; // logical path to content

    bool exists(const std::string& path) const override {
        return files.count(path) || isDirectory(path);
    }
    bool isDirectory(const std::string& path) const override {
        auto it = files.lower_bound(path + "/");
        return it != files.end() && it->first.starts_with(path + "/");
    }
    bool isLink(const std::string&) const override { return false; }
    std::vector<std::string> listFolder(const std::string& folder) const override {
        std::set<std::string> names;
        const std::string prefix = folder + "/";
        for (auto it = files.lower_bound(prefix);
             it != files.end() && it->first.starts_with(prefix); ++it)
            names.insert(prefix +
                         it->first.substr(prefix.size(),
                                          it->first.find('/', prefix.size()) - prefix.size()));
        return {names.begin(), names.end()};
    }
    SizeResult allocatedSize(const std::string& path, const KeepWalking& = {},
                             LinkedFiles* = nullptr) const override {
        std::int64_t sum = 0;
        for (const auto& [p, content] : files)
            if (p == path || p.starts_with(path + "/"))
                sum += static_cast<std::int64_t>(content.size());
        return {sum, true};
    }
    RemoveResult removeItem(const std::string&, const RemoveProgress& = {}) const override {
        return {};
    }
    bool isWritable(const std::string&) const override { return false; }
    std::optional<std::string> readFile(const std::string& path, std::size_t limit) const override {
        auto it = files.find(path);
        if (it == files.end() || it->second.size() > limit)
            return std::nullopt;
        return it->second;
    }
    int readError(const std::string& path) const override { return exists(path) ? 0 : ENOENT; }
    // Paths are the only names here: none is another's.
    std::optional<FileIdentity> identity(const std::string&) const override { return std::nullopt; }
};

} // namespace sentravex::fuzz
