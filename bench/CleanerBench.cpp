// The cleaner's readers on crafted browser stores: a profile cache of many profiles, and many
// Firefox add-on entries over one large folder.
#include "BenchTree.h"
#include "cleaner/ChromeProfiles.h"
#include "cleaner/ExtensionScan.h"
#include "platform/LocalFileSystem.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace sentravex;
using bench::BenchTree;

const std::string user = "bench";

// "Local State" whose profile cache holds `profiles` members of 12 bytes or so: 100,000 make
// 1.2 MB.
void chromeProfileCache(benchmark::State& state) {
    const auto profiles = state.range(0);
    BenchTree tree;
    std::string text = R"({"profile":{"info_cache":{)";
    for (long i = 0; i < profiles; ++i)
        text += (i ? ",\"p" : "\"p") + std::to_string(i) + "\":{}";
    text += "}}}";
    tree.file(chromeLocalStatePath(user), text);
    LocalFileSystem fs{Root(tree.root())};
    std::size_t read = 0;
    for (auto _ : state) {
        read = readChromeProfiles(fs, user).value_or(std::vector<ChromeProfile>{}).size();
        benchmark::DoNotOptimize(read);
    }
    state.counters["profiles"] = static_cast<double>(read);
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(chromeProfileCache)->Arg(25'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// `entries` add-on entries of "extensions.json" all pointing at one folder of 15,000 files.
void firefoxAddOnsOverALargeFolder(benchmark::State& state) {
    const auto entries = state.range(0);
    BenchTree tree;
    const std::string profile = ExtensionScan::firefoxProfilesFolder(user) + "/x.default";
    const std::string addon = profile + "/extensions/big@example";
    for (int i = 0; i < 15'000; ++i)
        tree.file(addon + "/f" + std::to_string(i), "x");
    std::string store = R"({"addons":[)";
    for (long i = 0; i < entries; ++i)
        store += (i ? "," : "") + (R"({"path":")" + addon + R"(","version":"1.)" +
                                   std::to_string(i) + R"(","defaultLocale":{"name":"Big"}})");
    store += "]}";
    tree.file(profile + "/extensions.json", store);
    LocalFileSystem fs{Root(tree.root())};
    std::size_t listed = 0;
    for (auto _ : state) {
        listed = ExtensionScan::getFirefoxExtantionList(fs, user).size();
        benchmark::DoNotOptimize(listed);
    }
    state.counters["listed"] = static_cast<double>(listed);
}
BENCHMARK(firefoxAddOnsOverALargeFolder)->Arg(375)->Arg(1'500)->Unit(benchmark::kMillisecond);

} // namespace
