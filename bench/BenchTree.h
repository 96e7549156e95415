#pragma once

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

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
    // A folder of `count` one-byte files, written without a stream per file.
    bool crowdedFolder(std::string_view logical, long count) const {
        const std::filesystem::path host = root_ + std::string(logical);
        std::filesystem::create_directories(host);
        const int folder = ::open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        bool ok = folder >= 0;
        for (long i = 0; ok && i < count; ++i) {
            const int fd = ::openat(folder, ("f" + std::to_string(i)).c_str(),
                                    O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            ok = fd >= 0 && ::write(fd, "x", 1) == 1;
            if (fd >= 0)
                ::close(fd);
        }
        if (folder >= 0)
            ::close(folder);
        return ok;
    }

private:
    std::string root_;
};

} // namespace sentravex::bench
