#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace sentravex::bench {

// A Mac tree under a fresh temporary folder, removed again at the end of the benchmark.
class BenchTree {
public:
    BenchTree() : root_((std::filesystem::temp_directory_path() / "sentravex-bench-XXXXXX")) {
        if (!::mkdtemp(root_.data()))
            root_.clear();
    }
    ~BenchTree() {
        if (!root_.empty())
            std::filesystem::remove_all(root_);
    }
    BenchTree(const BenchTree&) = delete;
    BenchTree& operator=(const BenchTree&) = delete;

    bool ok() const { return !root_.empty(); }
    const std::string& root() const { return root_; }

    // Makes the missing parent folders.
    void file(std::string_view logical, std::string_view content = {}) const {
        const std::filesystem::path host = root_ + std::string(logical);
        std::filesystem::create_directories(host.parent_path());
        std::ofstream(host, std::ios::binary) << content;
    }

private:
    std::string root_;
};

} // namespace sentravex::bench
