#pragma once

#include "platform/FileSystem.h"

#include <cstring>
#include <map>
#include <set>
#include <string>

namespace sentravex::test {

// Wraps a file system and makes chosen operations fail on chosen paths.
class FaultyFileSystem : public FileSystem {
public:
    explicit FaultyFileSystem(const FileSystem& inner) : inner_(inner) {}

    std::set<std::string> unreadable;   // listFolder answers empty; allocatedSize 0, not whole
    std::set<std::string> unexaminable; // exists, isDirectory, isLink and identity answer nothing
    std::set<std::string> undeletable;  // removeItem fails and leaves it
    std::set<std::string> unwritable;   // isWritable answers false
    std::set<std::string> partial;      // allocatedSize counts what it met but is not whole
    std::set<std::string> unopenable;   // readFile answers nothing
    // removeItem reports one more entry removed after another until its progress says stop,
    // like a tree too large to wait for; nothing is really deleted.
    std::set<std::string> endless;
    // The system holds these folders or files back, and all beneath them, with this errno (EPERM
    // where a privacy rule refuses): readError answers it, listFolder empty, allocatedSize 0 and
    // not whole, readFile nothing, removeItem fails. Finding out that they are there is still
    // allowed.
    std::map<std::string, int> denied;

    bool exists(const std::string& p) const override {
        return !unexaminable.count(p) && inner_.exists(p);
    }
    bool isDirectory(const std::string& p) const override {
        return !unexaminable.count(p) && inner_.isDirectory(p);
    }
    bool isLink(const std::string& p) const override {
        return !unexaminable.count(p) && inner_.isLink(p);
    }
    std::vector<std::string> listFolder(const std::string& p) const override {
        return unreadable.count(p) || deniedError(p) ? std::vector<std::string>{}
                                                     : inner_.listFolder(p);
    }
    SizeResult allocatedSize(const std::string& p, const KeepWalking& keepWalking = {},
                             LinkedFiles* counted = nullptr) const override {
        if (unreadable.count(p) || deniedError(p))
            return {0, false};
        auto size = inner_.allocatedSize(p, keepWalking, counted);
        size.whole = size.whole && !partial.count(p);
        return size;
    }
    RemoveResult removeItem(const std::string& p,
                            const RemoveProgress& progress = {}) const override {
        if (undeletable.count(p))
            return {true, 1, "Operation not permitted"};
        if (const int error = deniedError(p))
            return {true, 1, std::strerror(error)};
        if (endless.count(p)) {
            if (!progress)
                return {true, 1, "endless without a progress"};
            RemoveResult result;
            result.existed = true;
            while (!result.stopped) {
                result.bytes += 4096;
                result.stopped = !progress(4096);
            }
            return result;
        }
        return inner_.removeItem(p, progress);
    }
    bool isWritable(const std::string& p) const override {
        return !unwritable.count(p) && inner_.isWritable(p);
    }
    std::optional<std::string> readFile(const std::string& p, std::size_t limit) const override {
        return unopenable.count(p) || deniedError(p) ? std::nullopt : inner_.readFile(p, limit);
    }
    int readError(const std::string& p) const override {
        const int error = deniedError(p);
        return error ? error : inner_.readError(p);
    }

    std::optional<FileIdentity> identity(const std::string& p) const override {
        return unexaminable.count(p) ? std::nullopt : inner_.identity(p);
    }

private:
    int deniedError(const std::string& p) const {
        for (const auto& [place, error] : denied)
            if (p == place || p.starts_with(place + "/"))
                return error;
        return 0;
    }

    const FileSystem& inner_;
};

} // namespace sentravex::test
