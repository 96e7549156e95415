#include "LinkedFiles.h"

namespace sentravex {

bool LinkedFiles::add(std::uint64_t device, std::uint64_t inode, std::int64_t bytes) {
    std::lock_guard lock(mutex_);
    return bytes_.try_emplace({device, inode}, bytes).second;
}

std::int64_t LinkedFiles::mergeInto(LinkedFiles& counted) const {
    if (&counted == this)
        return 0;
    std::scoped_lock lock(mutex_, counted.mutex_);
    std::int64_t twice = 0;
    for (const auto& [key, bytes] : bytes_)
        if (!counted.bytes_.try_emplace(key, bytes).second)
            twice += bytes;
    return twice;
}

} // namespace sentravex
