// A build asked to stop ends at its next entry, path or step of a size walk, wherever it is.
#include "CountingFileSystem.h"
#include "MacFixture.h"
#include "cleaner/Cleaner.h"
#include "demo/CleanerDemo.h"

#include <gtest/gtest.h>

namespace sentravex {
namespace {

using test::CountingFileSystem;
using test::MacFixture;

// The demo home, every category present, with a cache folder the size walk takes a while over.
void writeTree(MacFixture& mac) {
    ASSERT_TRUE(writeDemoFiles(mac.root(), mac.user(), cleanerDemoFiles()));
    for (int i = 0; i < 1500; ++i)
        mac.file(
            mac.home("/Library/Caches/crowded/" + std::to_string(i % 30) + "/" + std::to_string(i)),
            "x");
}

struct Build {
    long events = 0; // calls and walked entries
    std::vector<std::string> handedOn;
};

// Builds over the tree, asking for a stop at event `stopAt` (never when 0); counts what is asked
// of the file system after that.
Build build(const MacFixture& mac, long stopAt, long& eventsAfterStop) {
    const auto local = mac.fileSystem();
    CountingFileSystem fs(local);
    StopFlag stop;
    long events = 0;
    eventsAfterStop = 0;
    fs.beforeEach = [&] {
        if (stop.requested())
            ++eventsAfterStop;
        if (++events == stopAt)
            stop.request();
    };
    Build b;
    Cleaner(fs, mac.user(), true, &stop).scanInBG([&](std::optional<CleanerCategory> c) {
        EXPECT_FALSE(stop.requested()) << "handed on after the stop";
        b.handedOn.push_back(c ? c->Name : "-");
    });
    b.events = events;
    return b;
}

TEST(BuildStop, EndsWithinAFewStepsWhereverItIsAsked) {
    MacFixture mac("demo");
    writeTree(mac);
    long after = 0;
    const Build whole = build(mac, 0, after);
    ASSERT_EQ(whole.handedOn.size(), 7u);
    ASSERT_GT(whole.events, 1500);

    for (long stopAt = 1; stopAt < whole.events; stopAt += whole.events / 41 + 1) {
        const Build cut = build(mac, stopAt, after);
        // A listing or two of the collector at work, never the rest of the build.
        EXPECT_LE(after, 6) << "stopped at " << stopAt << " of " << whole.events;
        EXPECT_LE(cut.handedOn.size(), whole.handedOn.size());
        EXPECT_TRUE(std::equal(cut.handedOn.begin(), cut.handedOn.end(), whole.handedOn.begin()));
    }
}

TEST(BuildStop, ASizeWalkEndsAtItsNextEntry) {
    MacFixture mac;
    for (int i = 0; i < 400; ++i)
        mac.file("/big/" + std::to_string(i % 20) + "/" + std::to_string(i), "x");
    const auto fs = mac.fileSystem();
    const auto whole = fs.allocatedSize("/big").bytes;
    for (int allowed : {0, 1, 17, 300}) {
        int asked = 0;
        const auto part = fs.allocatedSize("/big", [&] { return ++asked <= allowed; }).bytes;
        EXPECT_EQ(asked, allowed + 1);
        EXPECT_LT(part, whole);
        EXPECT_LE(part, allowed * test::blocksOf(mac.host("/big/0/0")));
    }
}

} // namespace
} // namespace sentravex
