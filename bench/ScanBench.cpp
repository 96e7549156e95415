// The catalogue check without pacing: the file-system work of one scan on the demo tree, and on
// a tree whose application-support folder holds many matching names.
#include "BenchTree.h"
#include "demo/DemoTree.h"
#include "platform/LocalFileSystem.h"
#include "scan/ProgressSink.h"
#include "scan/ThreatScanner.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

namespace {

using namespace sentravex;

class NoWait : public ProgressSink {
public:
    void step(int, double, const std::string&) override {}
};

void catalogueCheckOnDemoTree(benchmark::State& state) {
    std::string folder = (std::filesystem::temp_directory_path() / "sentravex-bench-XXXXXX");
    if (!::mkdtemp(folder.data()) || !writeDemoTree(folder, "demo")) {
        state.SkipWithError("cannot write the demo tree");
        return;
    }
    LocalFileSystem fs{Root(folder)};
    NoWait sink;
    std::size_t found = 0;
    for (auto _ : state) {
        ThreatScanner scanner(fs, "demo");
        scanner.checkQuorvane(sink);
        found = scanner.arrQuorvaneList().size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["threats"] = static_cast<double>(found);
    std::filesystem::remove_all(folder);
}
BENCHMARK(catalogueCheckOnDemoTree)->Unit(benchmark::kMicrosecond);

// Every entry matches two rows of the catalogue: each is recorded once, the second time found
// already listed.
void catalogueCheckOnManyMatches(benchmark::State& state) {
    const auto matches = state.range(0);
    bench::BenchTree tree;
    for (long i = 0; i < matches; ++i)
        tree.file("/Library/Application Support/Quorvane Helper " + std::to_string(i));
    LocalFileSystem fs{Root(tree.root())};
    NoWait sink;
    std::size_t found = 0;
    for (auto _ : state) {
        ThreatScanner scanner(fs, "bench");
        scanner.checkQuorvane(sink);
        found = scanner.arrQuorvaneList().size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["threats"] = static_cast<double>(found);
    state.SetComplexityN(matches);
}
BENCHMARK(catalogueCheckOnManyMatches)
    ->Arg(15'000)
    ->Arg(60'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
