#pragma once

#include <atomic>

namespace sentravex {

// Asked for on one thread, seen on another between the entries of a long walk. Once asked for,
// it stays.
class StopFlag {
public:
    void request() { requested_.store(true, std::memory_order_relaxed); }
    bool requested() const { return requested_.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> requested_{false};
};

// Where a walk may be given no flag at all.
inline bool stopRequested(const StopFlag* stop) {
    return stop && stop->requested();
}

} // namespace sentravex
