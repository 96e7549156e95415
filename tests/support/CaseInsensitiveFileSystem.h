#pragma once

#include "platform/FileSystem.h"

#include <algorithm>
#include <cctype>

namespace sentravex::test {

// Wraps a file system and finds each name of a path ignoring case, as a Mac disk does by default:
// "/Library/QUORVANE" reaches "/Library/Quorvane". Listings give the names as they are stored.
class CaseInsensitiveFileSystem : public FileSystem {
public:
    explicit CaseInsensitiveFileSystem(const FileSystem& inner) : inner_(inner) {}

    bool exists(const std::string& p) const override { return inner_.exists(stored(p)); }
    bool isDirectory(const std::string& p) const override { return inner_.isDirectory(stored(p)); }
    bool isLink(const std::string& p) const override { return inner_.isLink(stored(p)); }
    std::vector<std::string> listFolder(const std::string& p) const override {
        const std::string folder = stored(p);
        auto entries = inner_.listFolder(folder);
        for (auto& entry : entries)
            entry = p + entry.substr(folder.size());
        return entries;
    }
    SizeResult allocatedSize(const std::string& p, const KeepWalking& keepWalking = {},
                             LinkedFiles* counted = nullptr) const override {
        return inner_.allocatedSize(stored(p), keepWalking, counted);
    }
    RemoveResult removeItem(const std::string& p,
                            const RemoveProgress& progress = {}) const override {
        return inner_.removeItem(stored(p), progress);
    }
    bool isWritable(const std::string& p) const override { return inner_.isWritable(stored(p)); }
    std::optional<std::string> readFile(const std::string& p, std::size_t limit) const override {
        return inner_.readFile(stored(p), limit);
    }
    int readError(const std::string& p) const override { return inner_.readError(stored(p)); }
    std::optional<FileIdentity> identity(const std::string& p) const override {
        return inner_.identity(stored(p));
    }

private:
    static bool sameIgnoringCase(const std::string& a, const std::string& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) ==
                   std::tolower(static_cast<unsigned char>(y));
        });
    }

    // The path as the disk stores it: each name replaced by the stored one it matches.
    std::string stored(const std::string& path) const {
        std::string out;
        for (std::size_t at = 1; at <= path.size();) {
            auto slash = std::min(path.find('/', at), path.size());
            const std::string name = path.substr(at, slash - at);
            const std::string asGiven = out + "/" + name;
            std::string found = asGiven;
            if (!inner_.exists(asGiven) && !inner_.isLink(asGiven))
                for (const auto& entry : inner_.listFolder(out.empty() ? "/" : out))
                    if (sameIgnoringCase(entry.substr(entry.find_last_of('/') + 1), name))
                        found = entry;
            out = found;
            at = slash + 1;
        }
        return out.empty() ? "/" : out;
    }

    const FileSystem& inner_;
};

} // namespace sentravex::test
