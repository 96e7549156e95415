// The kernel's confined lookup answering EAGAIN (a rename raced it) makes that one path fail: it
// never falls back to anything that could be led out of the root.
#include "platform/Openat2.h"

#include "MacFixture.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace sentravex {
namespace {

using test::MacFixture;
using test::SentinelFolder;

int calls = 0;

long alwaysRacing(int, const char*, open_how*, std::size_t) {
    ++calls;
    errno = EAGAIN;
    return -1;
}

// Puts the kernel's own answers back at the end of the test.
struct RacingKernel {
    RacingKernel() : saved(openat2Call) {
        calls = 0;
        openat2Call = alwaysRacing;
    }
    ~RacingKernel() { openat2Call = saved; }
    Openat2Call saved;
};

TEST(Openat2, ALookupThatKeepsRacingFailsAndNothingElseIsTried) {
    MacFixture mac;
    SentinelFolder outside;
    const auto before = outside.snapshot();
    mac.file("/Library/Caches/plain/f", "f").link("/Library/Up", "../../../../../../../..");
    auto fs = mac.fileSystem();
    {
        RacingKernel racing;
        const std::string climbing = "/Library/Up" + outside.path() + "/precious.txt";
        for (const auto& path : {std::string("/Library/Caches/plain"), climbing}) {
            auto result = fs.removeItem(path);
            EXPECT_TRUE(result.existed) << path;
            EXPECT_FALSE(result.ok()) << path;
            EXPECT_NE(result.error.find(std::strerror(EAGAIN)), std::string::npos) << result.error;
        }
        EXPECT_FALSE(fs.exists("/Library/Caches/plain/f"));
        EXPECT_FALSE(fs.readFile("/Library/Caches/plain/f", 10));
        EXPECT_GT(calls, 0);
    }
    EXPECT_TRUE(std::filesystem::exists(mac.host("/Library/Caches/plain/f")))
        << "no other lookup removed it";
    EXPECT_EQ(outside.snapshot(), before);
    EXPECT_TRUE(fs.exists("/Library/Caches/plain/f")) << "the kernel answers again";
}

} // namespace
} // namespace sentravex
