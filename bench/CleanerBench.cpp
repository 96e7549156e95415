// The cleaner's readers on crafted browser stores (a profile cache of many profiles, a "Local
// State" near the size limit, many Firefox add-on entries over one large folder), and a build
// over large caches that is asked to stop.
#include "BenchTree.h"
#include "cleaner/ChromeProfiles.h"
#include "cleaner/Cleaner.h"
#include "cleaner/ExtensionScan.h"
#include "platform/LocalFileSystem.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <string>
#include <thread>

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
    state.SetComplexityN(profiles);
}
BENCHMARK(chromeProfileCache)
    ->Arg(25'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// "Local State" of `mib` MiB: a quarter a profile cache of many named profiles, the rest an
// array of empty objects (three bytes each in the file, far more once built) and a deep array.
std::string craftedLocalState(std::size_t mib) {
    const std::size_t size = mib << 20;
    std::string text = R"({"profile":{"info_cache":{)";
    text.reserve(size);
    for (long i = 0; text.size() < size / 4; ++i) {
        const std::string n = std::to_string(i);
        text += (i ? ",\"p" : "\"p") + n + R"(":{"name":"n)" + n + "\"}";
    }
    const std::string deep = R"(],"deep":)" + std::string(500, '[') + std::string(500, ']') + "}";
    text += R"(}},"junk":[{})";
    while (text.size() + deep.size() + 3 < size - 4096)
        text += ",{}";
    return text + deep;
}

// The whole build over a home whose only browser data is that file, as a listing makes it.
void cleanerBuildOverCraftedLocalState(benchmark::State& state) {
    BenchTree tree;
    const std::string text = craftedLocalState(static_cast<std::size_t>(state.range(0)));
    tree.file(chromeLocalStatePath(user), text);
    tree.file("/Applications/Google Chrome.app/Contents/Info.plist", "<plist/>");
    LocalFileSystem fs{Root(tree.root())};
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (const auto& category : Cleaner(fs, user).availbleApp())
            rows += category.List.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(cleanerBuildOverCraftedLocalState)->Arg(48)->Arg(63)->Unit(benchmark::kMillisecond);

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

// A home whose caches hold 200,000 files in 200 folders.
bool writeLargeCaches(const BenchTree& tree) {
    for (int folder = 0; folder < 200; ++folder)
        if (!tree.crowdedFolder("/Users/" + user + "/Library/Caches/c" + std::to_string(folder),
                                1000))
            return false;
    return true;
}

// The whole build: what closing the window waited for while a build could not be stopped.
void cleanerBuildOverLargeCaches(benchmark::State& state) {
    BenchTree tree;
    if (!writeLargeCaches(tree)) {
        state.SkipWithError("cannot write the caches");
        return;
    }
    LocalFileSystem fs{Root(tree.root())};
    for (auto _ : state)
        benchmark::DoNotOptimize(Cleaner(fs, user).availbleApp().size());
}
BENCHMARK(cleanerBuildOverLargeCaches)->Unit(benchmark::kMillisecond);

// From the stop request, made while the caches are being sized, to the build's end.
void cleanerBuildStopOverLargeCaches(benchmark::State& state) {
    BenchTree tree;
    if (!writeLargeCaches(tree)) {
        state.SkipWithError("cannot write the caches");
        return;
    }
    LocalFileSystem fs{Root(tree.root())};
    for (auto _ : state) {
        StopFlag stop;
        std::thread build([&] { Cleaner(fs, user, true, &stop).scanInBG([](auto) {}); });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const auto asked = std::chrono::steady_clock::now();
        stop.request();
        build.join();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count());
    }
}
BENCHMARK(cleanerBuildStopOverLargeCaches)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
