// The version document's reader on one token that never ends: its cost grows with the length, not
// with the square of the slices it arrives in.
#include "remote/XMLReader.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace sentravex;

void xmlUnendingToken(benchmark::State& state) {
    const std::string doc =
        "<config><" + std::string(static_cast<std::size_t>(state.range(0)), 'a');
    for (auto _ : state) {
        XMLReader reader;
        reader.rootName = "item";
        XMLParseError error;
        benchmark::DoNotOptimize(reader.parseXMLWithData(doc, &error));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(xmlUnendingToken)
    ->RangeMultiplier(4)
    ->Range(2 << 20, 32 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
