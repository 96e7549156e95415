#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <functional>

namespace sentravex::test {

// How much longer `work` takes on 4n than on n, each the best of five runs: about 4 for linear
// work, 16 for quadratic. For faults of growth only; never a deadline.
inline double growthRatio(const std::function<void(std::size_t)>& work, std::size_t n) {
    auto best = [&work](std::size_t size) {
        auto fastest = std::chrono::steady_clock::duration::max();
        for (int run = 0; run < 5; ++run) {
            const auto start = std::chrono::steady_clock::now();
            work(size);
            fastest = std::min(fastest, std::chrono::steady_clock::now() - start);
        }
        return std::chrono::duration<double>(fastest).count();
    };
    const double small = best(n);
    return best(4 * n) / std::max(small, 1e-6);
}

} // namespace sentravex::test
