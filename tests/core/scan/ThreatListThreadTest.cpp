#include "MacFixture.h"
#include "scan/ProgressSink.h"
#include "scan/ThreatScanner.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace sentravex {
namespace {

using test::MacFixture;

// Lets the reader run between steps instead of waiting out the pacing.
class YieldingSink : public ProgressSink {
public:
    void step(int, double, const std::string&) override { std::this_thread::yield(); }
    void scanDone() override { done = true; }
    std::atomic<bool> done{false};
};

TEST(ThreatList, CanBeReadWhileTheCheckAppends) {
    MacFixture mac;
    for (const char* p : {"/Applications/Quorvane.app/x", "/Library/Logs/Quorvane.log",
                          "/Library/Logs/Nubiloft", "/private/tmp/Quorvane"})
        mac.file(p);
    mac.file(mac.home("/Library/Logs/Quorvane.log"));
    auto fs = mac.fileSystem();
    ThreatScanner scanner(fs, mac.user());
    YieldingSink sink;
    std::thread scan([&] { scanner.checkQuorvane(sink); });
    std::size_t seen = 0;
    while (!sink.done) {
        auto list = scanner.arrQuorvaneList();
        EXPECT_GE(list.size(), seen) << "the list only grows during a check";
        seen = list.size();
        for (const auto& q : list)
            EXPECT_FALSE(q->url().empty());
    }
    scan.join();
    EXPECT_EQ(scanner.arrQuorvaneList().size(), 5u);
}

} // namespace
} // namespace sentravex
