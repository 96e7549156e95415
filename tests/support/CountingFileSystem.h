#pragma once

#include "platform/FileSystem.h"

#include <atomic>
#include <functional>
#include <map>
#include <mutex>

namespace sentravex::test {

// Wraps a file system and counts what is asked of it; `beforeEach`, when set, runs first on
// every call and every entry of a size walk (on whichever thread makes it).
class CountingFileSystem : public FileSystem {
public:
    explicit CountingFileSystem(const FileSystem& inner) : inner_(inner) {}

    mutable std::atomic<long> calls{0};
    mutable std::atomic<long> sizings{0}; // allocatedSize calls
    mutable std::atomic<long> walked{0};  // entries met by the size walks
    std::function<void()> beforeEach;

    // How often a file was read.
    long readsOf(const std::string& p) const {
        std::lock_guard lock(readsMutex_);
        auto found = reads_.find(p);
        return found == reads_.end() ? 0 : found->second;
    }

    bool exists(const std::string& p) const override { return count(), inner_.exists(p); }
    bool isDirectory(const std::string& p) const override { return count(), inner_.isDirectory(p); }
    bool isLink(const std::string& p) const override { return count(), inner_.isLink(p); }
    std::vector<std::string> listFolder(const std::string& p) const override {
        return count(), inner_.listFolder(p);
    }
    SizeResult allocatedSize(const std::string& p, const KeepWalking& keepWalking = {},
                             LinkedFiles* counted = nullptr) const override {
        ++sizings;
        count();
        return inner_.allocatedSize(
            p,
            [this, &keepWalking] {
                ++walked;
                if (beforeEach)
                    beforeEach();
                return !keepWalking || keepWalking();
            },
            counted);
    }
    RemoveResult removeItem(const std::string& p,
                            const RemoveProgress& progress = {}) const override {
        return count(), inner_.removeItem(p, progress);
    }
    bool isWritable(const std::string& p) const override { return count(), inner_.isWritable(p); }
    std::optional<std::string> readFile(const std::string& p, std::size_t limit) const override {
        {
            std::lock_guard lock(readsMutex_);
            ++reads_[p];
        }
        return count(), inner_.readFile(p, limit);
    }
    int readError(const std::string& p) const override { return count(), inner_.readError(p); }
    std::optional<FileIdentity> identity(const std::string& p) const override {
        return count(), inner_.identity(p);
    }

private:
    void count() const {
        ++calls;
        if (beforeEach)
            beforeEach();
    }

    const FileSystem& inner_;
    mutable std::mutex readsMutex_;
    mutable std::map<std::string, long> reads_;
};

} // namespace sentravex::test
