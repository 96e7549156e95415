#pragma once

#include "platform/FileSystem.h"

#include <atomic>
#include <functional>

namespace sentravex::test {

// Wraps a file system and counts what is asked of it; `beforeCall`, when set, runs first on
// every call (from whichever thread makes it).
class CountingFileSystem : public FileSystem {
public:
    explicit CountingFileSystem(const FileSystem& inner) : inner_(inner) {}

    mutable std::atomic<long> calls{0};
    mutable std::atomic<long> sizings{0}; // allocatedSize calls
    std::function<void()> beforeCall;

    bool exists(const std::string& p) const override { return count(), inner_.exists(p); }
    bool isDirectory(const std::string& p) const override { return count(), inner_.isDirectory(p); }
    std::vector<std::string> listFolder(const std::string& p) const override {
        return count(), inner_.listFolder(p);
    }
    std::int64_t allocatedSize(const std::string& p) const override {
        ++sizings;
        return count(), inner_.allocatedSize(p);
    }
    RemoveResult removeItem(const std::string& p,
                            const RemoveProgress& progress = {}) const override {
        return count(), inner_.removeItem(p, progress);
    }
    bool isWritable(const std::string& p) const override { return count(), inner_.isWritable(p); }
    std::optional<std::string> readFile(const std::string& p, std::size_t limit) const override {
        return count(), inner_.readFile(p, limit);
    }

private:
    void count() const {
        ++calls;
        if (beforeCall)
            beforeCall();
    }

    const FileSystem& inner_;
};

} // namespace sentravex::test
