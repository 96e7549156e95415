#include "FaultyFileSystem.h"
#include "MacFixture.h"
#include "cleaner/ByteCount.h"
#include "cleaner/CheckBoxRules.h"
#include "cleaner/Cleaner.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sentravex {
namespace {

using test::blocksOf;
using test::MacFixture;
using test::SentinelFolder;

TEST(ByteCountText, DecimalUnitsAndZeroAsZeroByte) {
    const std::vector<std::pair<std::int64_t, std::string>> cases = {
        {0, "0 byte"},     {1, "1 byte"},           {999, "999 bytes"},      {1000, "1 KB"},
        {4096, "4 KB"},    {999499, "999 KB"},      {999500, "1 MB"},        {1234567, "1.2 MB"},
        {5000000, "5 MB"}, {1230000000, "1.23 GB"}, {2000000000000, "2 TB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(byteCountText(bytes), text) << bytes;
}

TEST(GetDicForList, IsHeaderTellsAnOrdinaryRowAndStartsUncheckedUnsized) {
    auto ordinary = Cleaner::getDicForList({"/a"}, "A", false);
    auto heading = Cleaner::getDicForList({}, "H", true);
    EXPECT_TRUE(ordinary.isHeader);
    EXPECT_FALSE(heading.isHeader);
    EXPECT_TRUE(heading.isExt);
    EXPECT_EQ(ordinary.isChecked, CheckState::Off);
    EXPECT_EQ(ordinary.sizeText, "0KB");
    EXPECT_FALSE(ordinary.isEnabled.has_value());
}

TEST(HomeUrl, IsAlwaysUnderUsers) {
    MacFixture mac("carol");
    auto fs = mac.fileSystem();
    EXPECT_EQ(Cleaner(fs, "carol").homeUrl(), "/Users/carol");
}

// Each case builds a tree and names the host files whose blocks the size must add up to.
struct SizeCase {
    const char* name;
    void (*build)(MacFixture&, const std::string& outside);
    const char* sized;
    std::vector<std::string> counted;
};

const SizeCase sizeCases[] = {
    {"hidden file and package contents",
     [](MacFixture& m, const std::string&) {
         m.file("/t/.hidden", "h").fileOfSize("/t/Some.app/Contents/MacOS/Some", 20000);
     },
     "/t",
     {"/t/.hidden", "/t/Some.app/Contents/MacOS/Some"}},
    {"one byte takes a block",
     [](MacFixture& m, const std::string&) { m.file("/t/one", "x"); },
     "/t/one",
     {"/t/one"}},
    {"empty file is zero", [](MacFixture& m, const std::string&) { m.file("/t/empty"); }, "/t", {}},
    {"missing path is zero", [](MacFixture&, const std::string&) {}, "/nothing", {}},
    {"links are counted as links, never followed",
     [](MacFixture& m, const std::string& outside) {
         m.fileOfSize("/big/f", 200000).link("/t/in", "/big").link("/t/out", outside);
     },
     "/t",
     {"/t/in", "/t/out"}},
    {"a linked folder is the link alone",
     [](MacFixture& m, const std::string&) { m.fileOfSize("/big/f", 200000).link("/t", "/big"); },
     "/t",
     {"/t"}},
};

TEST(FileSizeOf, CountsAllocatedBlocksOfEverythingUnderAFolder) {
    for (const auto& c : sizeCases) {
        MacFixture mac;
        SentinelFolder outside;
        c.build(mac, outside.path());
        std::int64_t expected = 0;
        for (const auto& p : c.counted)
            expected += blocksOf(mac.host(p));
        auto fs = mac.fileSystem();
        EXPECT_EQ(Cleaner(fs, mac.user()).fileSizeOf(c.sized).bytes, expected) << c.name;
    }
}

TEST(FileSizeOf, OneByteFileIsAWholeBlock) {
    MacFixture mac;
    mac.file("/one", "x");
    auto fs = mac.fileSystem();
    EXPECT_GT(Cleaner(fs, mac.user()).fileSizeOf("/one").bytes, 1);
}

// The size as an account without rights would see it, and whether it was whole.
std::pair<std::int64_t, bool> sizeAsNobody(const MacFixture& mac, const std::string& logical) {
    const auto answer = test::asNobody([&] {
        auto fs = mac.fileSystem();
        const auto size = Cleaner(fs, mac.user()).fileSizeOf(logical);
        return std::to_string(size.whole) + std::to_string(size.bytes);
    });
    return {std::stoll(answer.substr(1)), answer[0] == '1'};
}

TEST(FileSizeOf, SkipsAnUnreadableSubfolderAndCountsTheRest) {
    MacFixture mac;
    mac.file("/c/a", "a").file("/c/locked/b", "b").file("/c/z/w", "w").file("/c/zz/.y", "y");
    for (const char* open : {"", "/c", "/c/z", "/c/zz", "/c/locked"})
        ::chmod(mac.host(open).c_str(), 0755);
    for (const char* readable : {"/c/a", "/c/z/w", "/c/zz/.y"})
        ::chmod(mac.host(readable).c_str(), 0644);
    ::chmod(mac.host("/c/locked").c_str(), 0);
    const auto [bytes, whole] = sizeAsNobody(mac, "/c");
    EXPECT_EQ(bytes, blocksOf(mac.host("/c/a")) + blocksOf(mac.host("/c/z/w")) +
                         blocksOf(mac.host("/c/zz/.y")));
    EXPECT_FALSE(whole) << "the locked folder is left out";
    ::chmod(mac.host("/c/locked").c_str(), 0755);
}

TEST(CountSize, WritesEachItemsSizeTextAndEnabledFlag) {
    MacFixture mac;
    mac.file("/a/one", "x").file("/b/empty");
    auto fs = mac.fileSystem();
    Cleaner cleaner(fs, mac.user());
    std::vector<CleanerItem> items{Cleaner::getDicForList({"/a/one", "/a/missing"}, "A", false),
                                   Cleaner::getDicForList({"/b/empty"}, "B", false),
                                   Cleaner::getDicForList({}, "C", false)};
    std::int64_t one = blocksOf(mac.host("/a/one"));
    EXPECT_EQ(cleaner.countSize(items), one);
    EXPECT_EQ(items[0].sizeText, byteCountText(one));
    EXPECT_EQ(items[0].isEnabled, true);
    EXPECT_EQ(items[0].bytes, one);
    for (int i : {1, 2}) {
        EXPECT_EQ(items[i].sizeText, "0 byte");
        EXPECT_EQ(items[i].isEnabled, false);
    }
}

// A walk cut short (no descriptor left, a folder that refused) counted some bytes: the row must
// not show them as its whole size.
TEST(CountSize, ARowWhoseSizeIsNotWholeIsMarkedWhateverItCounted) {
    MacFixture mac;
    mac.file("/a/one", "x").file("/b/two", "y");
    auto local = mac.fileSystem();
    test::FaultyFileSystem fs(local);
    fs.partial = {"/a"};
    Cleaner cleaner(fs, mac.user());
    std::vector<CleanerItem> items{Cleaner::getDicForList({"/a"}, "A", false),
                                   Cleaner::getDicForList({"/b"}, "B", false)};
    cleaner.countSize(items);
    EXPECT_EQ(items[0].bytes, blocksOf(mac.host("/a/one")));
    EXPECT_EQ(items[0].unreadable, (std::vector<std::string>{"/a"}));
    EXPECT_TRUE(items[1].unreadable.empty());

    CleanerCategory chosen;
    chosen.List = items;
    chosen.List[0].isChecked = CheckState::On;
    EXPECT_EQ(cleaner.cleanSelected({chosen}, false).unreadable, (std::vector<std::string>{"/a"}))
        << "the dry run says so too";
}

// One file with links in the Trash (each its own path of the row), in the caches and in
// Documents, which is not selected.
TEST(CountSize, AFileWithManyLinksCountsOnceInEachRowAndOnceInTheTotal) {
    MacFixture mac;
    mac.fileOfSize(mac.home("/Documents/kept"), 100000)
        .folder(mac.home("/.Trash"))
        .folder(mac.home("/Library/Caches/c"));
    std::vector<std::string> trash;
    for (int i = 0; i < 25; ++i) {
        trash.push_back(mac.home("/.Trash/link" + std::to_string(i)));
        for (const auto& at :
             {trash.back(), mac.home("/Library/Caches/c/link" + std::to_string(i))})
            ASSERT_EQ(::link(mac.host(mac.home("/Documents/kept")).c_str(), mac.host(at).c_str()),
                      0);
    }
    const std::int64_t blocks = blocksOf(mac.host(mac.home("/Documents/kept")));
    auto fs = mac.fileSystem();
    Cleaner cleaner(fs, mac.user());
    auto category = cleaner.finishCategory(
        "System",
        {Cleaner::getDicForList(trash, "Trash Files", false),
         Cleaner::getDicForList({mac.home("/Library/Caches")}, "System Cache Files", false)},
        "");
    EXPECT_EQ(category.List[0].bytes, blocks);
    EXPECT_EQ(category.List[1].bytes, blocks);
    EXPECT_EQ(category.bytes, blocks);

    checkCategory(category, CheckState::On);
    EXPECT_EQ(cleaner.cleanSelected({category}, false).bytes, blocks) << "the dry run";
    const auto done = cleaner.cleanSelected({category}, true);
    EXPECT_TRUE(done.ok());
    EXPECT_EQ(done.bytes, 0) << "Documents keeps the file: nothing was freed";
    EXPECT_FALSE(std::filesystem::exists(mac.host(mac.home("/.Trash/link0"))));
    EXPECT_TRUE(std::filesystem::exists(mac.host(mac.home("/Documents/kept"))));
}

TEST(FinishCategory, AnEmptyCategoryStaysWithZeroByteAndDisabled) {
    MacFixture mac;
    auto fs = mac.fileSystem();
    auto category = Cleaner(fs, mac.user())
                        .finishCategory("Mail", {Cleaner::getDicForList({"/x"}, "X", false)},
                                        "/Applications/Mail.app");
    EXPECT_EQ(category.Name, "Mail");
    EXPECT_EQ(category.Size, "0 byte");
    EXPECT_FALSE(category.isEnabled);
    EXPECT_FALSE(category.isFromAdware);
    EXPECT_EQ(category.isChecked, CheckState::Off);
    EXPECT_EQ(category.Img, "/Applications/Mail.app");
    ASSERT_EQ(category.List.size(), 1u);
}

} // namespace
} // namespace sentravex
