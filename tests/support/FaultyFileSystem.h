#pragma once

#include "platform/FileSystem.h"

#include <set>
#include <string>

namespace sentravex::test {

// Wraps a file system and makes chosen operations fail on chosen paths.
class FaultyFileSystem : public FileSystem {
public:
    explicit FaultyFileSystem(const FileSystem& inner) : inner_(inner) {}

    std::set<std::string> unreadable;   // listFolder answers empty; allocatedSize 0
    std::set<std::string> unexaminable; // exists, isDirectory and isLink answer false
    std::set<std::string> undeletable;  // removeItem fails and leaves it
    std::set<std::string> unwritable;   // isWritable answers false
    std::set<std::string> unopenable;   // readFile answers nothing
    // removeItem reports one more entry removed after another until its progress says stop,
    // like a tree too large to wait for; nothing is really deleted.
    std::set<std::string> endless;

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
        return unreadable.count(p) ? std::vector<std::string>{} : inner_.listFolder(p);
    }
    std::int64_t allocatedSize(const std::string& p,
                               const KeepWalking& keepWalking = {}) const override {
        return unreadable.count(p) ? 0 : inner_.allocatedSize(p, keepWalking);
    }
    RemoveResult removeItem(const std::string& p,
                            const RemoveProgress& progress = {}) const override {
        if (undeletable.count(p))
            return {true, 1, "Operation not permitted"};
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
        return unopenable.count(p) ? std::nullopt : inner_.readFile(p, limit);
    }

private:
    const FileSystem& inner_;
};

} // namespace sentravex::test
