#include "MacFixture.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sentravex {
namespace {

using test::blocksOf;
using test::MacFixture;
using test::SentinelFolder;

// A chain of folders too deep for any path to name it.
void makeDeepTree(const std::string& host, int depth) {
    std::filesystem::create_directories(host);
    int fd = ::open(host.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < depth; ++i) {
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
        int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    int file = ::openat(fd, "bottom", O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::write(file, "x", 1), 1);
    ::close(file);
    ::close(fd);
}

TEST(ListFolder, ListsHiddenEntriesAndNothingForMissingOrPlainFiles) {
    MacFixture mac;
    mac.file("/Library/LaunchAgents/a.plist").file("/Library/LaunchAgents/.hidden");
    auto fs = mac.fileSystem();
    auto listed = fs.listFolder("/Library/LaunchAgents");
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"/Library/LaunchAgents/.hidden",
                                                "/Library/LaunchAgents/a.plist"}));
    EXPECT_TRUE(fs.listFolder("/Library/Missing").empty());
    EXPECT_TRUE(fs.listFolder("/Library/LaunchAgents/a.plist").empty());
}

TEST(ListFolder, LinkOutOfTheRootListsInsideIt) {
    MacFixture mac;
    SentinelFolder outside;
    mac.link("/Library/LaunchAgents", outside.path());
    EXPECT_TRUE(mac.fileSystem().listFolder("/Library/LaunchAgents").empty());
    mac.link("/Library/LaunchDaemons", "../../../../../../../../" + outside.path());
    EXPECT_TRUE(mac.fileSystem().listFolder("/Library/LaunchDaemons").empty());
}

TEST(AllocatedSize, CountsBlocksOfEverythingBeneathAFolder) {
    MacFixture mac;
    mac.file("/c/one", "x")
        .file("/c/.hidden", "y")
        .file("/c/Some.app/Contents/MacOS/Some", std::string(10000, 'z'))
        .file("/c/empty");
    auto fs = mac.fileSystem();
    std::int64_t one = blocksOf(mac.host("/c/one"));
    EXPECT_GT(one, 1) << "a one-byte file takes a whole block";
    EXPECT_EQ(fs.allocatedSize("/c/one"), one);
    EXPECT_EQ(fs.allocatedSize("/c/empty"), 0);
    EXPECT_EQ(fs.allocatedSize("/c"), one + blocksOf(mac.host("/c/.hidden")) +
                                          blocksOf(mac.host("/c/Some.app/Contents/MacOS/Some")));
    EXPECT_EQ(fs.allocatedSize("/missing"), 0);
}

TEST(AllocatedSize, FollowsNoLink) {
    MacFixture mac;
    SentinelFolder outside;
    mac.fileOfSize("/big/file", 100000)
        .link("/c/toBig", "/big")
        .link("/c/toOutside", outside.path())
        .link("/whole", "/big");
    auto fs = mac.fileSystem();
    EXPECT_EQ(fs.allocatedSize("/c"),
              blocksOf(mac.host("/c/toBig")) + blocksOf(mac.host("/c/toOutside")));
    EXPECT_EQ(fs.allocatedSize("/whole"), blocksOf(mac.host("/whole")));
}

TEST(AllocatedSize, SkipsAnUnreadableFolderAndCountsTheRest) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    MacFixture mac;
    mac.file("/c/a/x", "x").file("/c/locked/y", "y").file("/c/z/w", "w");
    ::chmod(mac.host("/c/locked").c_str(), 0);
    EXPECT_EQ(mac.fileSystem().allocatedSize("/c"),
              blocksOf(mac.host("/c/a/x")) + blocksOf(mac.host("/c/z/w")));
}

TEST(AllocatedSize, WalksATreeTenThousandFoldersDeep) {
    MacFixture mac;
    makeDeepTree(mac.host("/deep"), 10000);
    EXPECT_GT(mac.fileSystem().allocatedSize("/deep"), 0);
}

TEST(RemoveItem, RemovesATreeAndReportsAbsenceAsNoFailure) {
    MacFixture mac;
    mac.file("/t/a/b/c", "1").file("/t/.h", "2");
    auto fs = mac.fileSystem();
    auto r = fs.removeItem("/t");
    EXPECT_TRUE(r.existed);
    EXPECT_TRUE(r.ok()) << r.error;
    EXPECT_FALSE(std::filesystem::exists(mac.host("/t")));
    auto again = fs.removeItem("/t");
    EXPECT_FALSE(again.existed);
    EXPECT_TRUE(again.ok());
}

TEST(RemoveItem, RemovesLinksThemselvesAndNeverWhatTheyPointTo) {
    MacFixture mac;
    SentinelFolder outside;
    const auto before = outside.snapshot();
    mac.link("/gone", outside.path())
        .file("/t/inner/f", "f")
        .link("/t/inner/abs", outside.path())
        .link("/t/inner/rel", "../../../../../../../../../../" + outside.path());
    auto fs = mac.fileSystem();
    EXPECT_TRUE(fs.removeItem("/gone").ok());
    EXPECT_TRUE(fs.removeItem("/t").ok());
    EXPECT_FALSE(std::filesystem::exists(mac.host("/t")));
    EXPECT_FALSE(std::filesystem::is_symlink(mac.host("/gone")));
    EXPECT_EQ(outside.snapshot(), before);
}

TEST(RemoveItem, ThroughALinkedParentStaysInsideTheRoot) {
    MacFixture mac;
    SentinelFolder outside;
    const auto before = outside.snapshot();
    mac.link("/Library", outside.path());
    EXPECT_FALSE(mac.fileSystem().removeItem("/Library/Caches").existed);
    EXPECT_EQ(outside.snapshot(), before);
}

TEST(RemoveItem, RefusesTheRootItself) {
    MacFixture mac;
    mac.file("/keep");
    auto r = mac.fileSystem().removeItem("/");
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(std::filesystem::exists(mac.host("/keep")));
}

TEST(RemoveItem, RemovesATreeTenThousandFoldersDeep) {
    MacFixture mac;
    makeDeepTree(mac.host("/deep"), 10000);
    auto r = mac.fileSystem().removeItem("/deep");
    EXPECT_TRUE(r.ok()) << r.error;
    EXPECT_FALSE(std::filesystem::exists(mac.host("/deep")));
}

TEST(RemoveItem, CountsWhatCouldNotBeRemovedAndRemovesTheRest) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    MacFixture mac;
    mac.file("/t/free/a", "a").file("/t/locked/b", "b");
    ::chmod(mac.host("/t/locked").c_str(), 0555);
    auto r = mac.fileSystem().removeItem("/t");
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(std::filesystem::exists(mac.host("/t/free")));
    EXPECT_TRUE(std::filesystem::exists(mac.host("/t/locked/b")));
}

TEST(ReadFile, ReadsPlainFilesInsideTheRootOnly) {
    MacFixture mac;
    SentinelFolder outside;
    mac.file("/f", "content")
        .file("/big", std::string(100, 'b'))
        .link("/out", outside.path() + "/precious.txt");
    ASSERT_EQ(::mkfifo(mac.host("/pipe").c_str(), 0644), 0);
    auto fs = mac.fileSystem();
    EXPECT_EQ(fs.readFile("/f", 100), "content");
    EXPECT_EQ(fs.readFile("/big", 100), std::string(100, 'b'));
    EXPECT_FALSE(fs.readFile("/big", 99)) << "over the limit";
    EXPECT_FALSE(fs.readFile("/pipe", 100)) << "a pipe would block";
    EXPECT_FALSE(fs.readFile("/missing", 100));
    EXPECT_FALSE(fs.readFile("/out", 100)) << "a link is resolved inside the root";
}

} // namespace
} // namespace sentravex
