#pragma once

#include <cstdint>
#include <map>
#include <mutex>

namespace sentravex {

// Files with more than one link met by the size walks that share this, so that each is counted
// once however many of its links they meet. Files with one link are never kept: memory grows
// with the linked files only. Safe to share among a walk's threads.
class LinkedFiles {
public:
    // True the first time a file is met.
    bool add(std::uint64_t device, std::uint64_t inode, std::int64_t bytes);
    // Adds these files to `counted`; answers the bytes of those it already held.
    std::int64_t mergeInto(LinkedFiles& counted) const;

private:
    using Key = std::pair<std::uint64_t, std::uint64_t>;
    mutable std::mutex mutex_;
    std::map<Key, std::int64_t> bytes_;
};

} // namespace sentravex
