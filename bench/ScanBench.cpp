// The catalogue check on the demo tree, without pacing: the file-system work of one scan.
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

} // namespace
