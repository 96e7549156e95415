// Sizing a folder of a million entries: the walk keeps only subfolder names, so memory stays flat
// whatever the number of files. Writing the folder takes minutes here, hence a benchmark and not
// a test. The second figure is the number of links each file has: files with more than one are
// remembered, so that each counts once, and that is the one cost that grows with them.
#include "platform/LocalFileSystem.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using namespace sentravex;

long peakKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void sizeFolderOfEntries(benchmark::State& state) {
    const auto entries = static_cast<long>(state.range(0));
    const auto links = state.range(1);
    std::string root = (std::filesystem::temp_directory_path() / "sentravex-bench-XXXXXX");
    if (!::mkdtemp(root.data())) {
        state.SkipWithError("cannot make a temporary folder");
        return;
    }
    std::filesystem::create_directory(root + "/Crowded");
    int folder = ::open((root + "/Crowded").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (long i = 0; i < entries && folder >= 0; ++i) {
        const std::string name = "entry-" + std::to_string(i);
        int fd = ::openat(folder, name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        bool linked = true;
        for (long link = 1; link < links; ++link)
            linked = linked && ::linkat(folder, name.c_str(), folder,
                                        (name + "-link" + std::to_string(link)).c_str(), 0) == 0;
        if (fd < 0 || ::write(fd, "x", 1) != 1 || !linked) {
            state.SkipWithError("cannot write the entries");
            break;
        }
        ::close(fd);
    }
    if (folder >= 0)
        ::close(folder);

    LocalFileSystem fs{Root(root)};
    const long before = peakKilobytes();
    std::int64_t size = 0;
    for (auto _ : state) {
        size = fs.allocatedSize("/Crowded").bytes;
        benchmark::DoNotOptimize(size);
    }
    state.counters["bytes"] = static_cast<double>(size);
    state.counters["peak_growth_KiB"] = static_cast<double>(peakKilobytes() - before);
    std::filesystem::remove_all(root);
}
BENCHMARK(sizeFolderOfEntries)
    ->Args({1'000'000, 1})
    ->Args({500'000, 2})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
