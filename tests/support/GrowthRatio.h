#pragma once

#include <algorithm>
#include <cstddef>
#include <ctime>
#include <functional>

namespace sentravex::test {

// How much longer `work` takes on 4n than on n, in this thread's processor time (other programs
// on the machine do not count), each the best of five runs: about 4 for linear work, 16 for
// quadratic. For faults of growth only; never a deadline.
inline double growthRatio(const std::function<void(std::size_t)>& work, std::size_t n) {
    auto seconds = [] {
        timespec now{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
    };
    auto best = [&](std::size_t size) {
        double fastest = 1e9;
        for (int run = 0; run < 5; ++run) {
            const double start = seconds();
            work(size);
            fastest = std::min(fastest, seconds() - start);
        }
        return fastest;
    };
    const double small = best(n);
    return best(4 * n) / std::max(small, 1e-6);
}

} // namespace sentravex::test
