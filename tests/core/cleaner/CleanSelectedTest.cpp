#include "FaultyFileSystem.h"
#include "Fixtures.h"
#include "MacFixture.h"
#include "cleaner/CheckBoxRules.h"
#include "cleaner/Cleaner.h"
#include "cleaner/JsonFile.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace sentravex {
namespace {

using test::blocksOf;
using test::FaultyFileSystem;
using test::MacFixture;
using test::realFirefoxAddOn;
using test::SentinelFolder;

bool present(const MacFixture& mac, const std::string& logical) {
    std::error_code ec;
    return std::filesystem::symlink_status(mac.host(logical), ec).type() !=
           std::filesystem::file_type::not_found;
}

CleanerCategory category(std::string name, std::vector<CleanerItem> items) {
    CleanerCategory c;
    c.Name = std::move(name);
    c.List = std::move(items);
    return c;
}

TEST(CleanSelected, CountsEveryEntryAndStopsAfterTheOneItWasToldToStopAt) {
    MacFixture mac;
    for (const char* name : {"1", "2", "3", "4", "5"})
        mac.file(std::string("/first/") + name, "x");
    mac.file("/second/kept", "y");
    std::vector<CleanerCategory> list{
        category("One", {Cleaner::getDicForList({"/first", "/second"}, "A", false)})};
    list[0].List[0].isChecked = CheckState::On;
    auto fs = mac.fileSystem();
    Cleaner cleaner(fs, mac.user());

    std::vector<CleanTally> seen;
    auto report = cleaner.cleanSelected(list, true, [&seen](const CleanTally& tally) {
        seen.push_back(tally);
        return seen.size() < 3;
    });
    EXPECT_TRUE(report.cancelled);
    ASSERT_EQ(seen.size(), 3u) << "nothing is removed after the entry that said stop";
    EXPECT_EQ(seen.back().entries, 3u);
    EXPECT_EQ(seen.back().bytes, 3 * blocksOf(mac.host("/second/kept")));
    EXPECT_EQ(report.bytes, seen.back().bytes);
    EXPECT_EQ(report.entries, 3u);
    EXPECT_TRUE(report.deleted.empty()) << "a folder cut short is not reported as deleted";
    EXPECT_TRUE(report.ok());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(mac.host("/first")), {}), 2);
    EXPECT_TRUE(present(mac, "/second/kept"));

    seen.clear();
    auto rest = cleaner.cleanSelected(list, true, [&seen](const CleanTally& tally) {
        seen.push_back(tally);
        return true;
    });
    EXPECT_FALSE(rest.cancelled);
    EXPECT_EQ(seen.size(), 5u) << "two files and their folder, then a file and its folder";
    EXPECT_EQ(rest.deleted, (std::vector<std::string>{"/first", "/second"}));
    // Counted without a progress to tell, too.
    mac.file("/first/again", "x");
    EXPECT_EQ(cleaner.cleanSelected(list, true).entries, 2u);
}

// A linked caches folder takes nothing along when it is removed: what lies behind it and was
// selected as well is deleted on its own, whichever comes first in the list.
TEST(CleanSelected, APathBehindASelectedLinkIsDeletedOnItsOwn) {
    for (bool linkFirst : {false, true}) {
        MacFixture mac;
        mac.file(mac.home("/Library/RealCaches/Google/Chrome/Default/Cache/data"), "c")
            .link(mac.home("/Library/Caches"), mac.home("/Library/RealCaches"));
        const std::string link = mac.home("/Library/Caches");
        const std::string chrome = mac.home("/Library/Caches/Google/Chrome");
        std::vector<CleanerCategory> list{
            category("Chrome", {Cleaner::getDicForList({chrome}, "Browser Caches", false)}),
            category("System", {Cleaner::getDicForList({link}, "System Cache Files", false)})};
        if (linkFirst)
            std::swap(list[0], list[1]);
        for (auto& c : list)
            checkCategory(c, CheckState::On);
        auto fs = mac.fileSystem();

        auto report = Cleaner(fs, mac.user()).cleanSelected(list, true);
        EXPECT_TRUE(report.ok()) << linkFirst;
        EXPECT_FALSE(present(mac, mac.home("/Library/RealCaches/Google/Chrome"))) << linkFirst;
        EXPECT_FALSE(present(mac, link)) << linkFirst;
        EXPECT_EQ(report.deleted, (std::vector<std::string>{chrome, link})) << linkFirst;
    }
}

TEST(CleanSelected, APathThatCannotBeReachedIsAFailureNamingIt) {
    MacFixture mac;
    mac.link(mac.home("/Library"), mac.home("/Library"));
    const std::string caches = mac.home("/Library/Caches");
    std::vector<CleanerCategory> list{
        category("System", {Cleaner::getDicForList({caches}, "System Cache Files", false)})};
    checkCategory(list[0], CheckState::On);
    auto fs = mac.fileSystem();
    auto report = Cleaner(fs, mac.user()).cleanSelected(list, true);
    ASSERT_EQ(report.failed.size(), 1u);
    EXPECT_EQ(report.failed[0].path, caches);
    EXPECT_TRUE(report.deleted.empty());
}

TEST(CleanSelected, DeletesOnlyRowsCheckedOnAndPassesOverAbsentPaths) {
    MacFixture mac;
    mac.file("/a/file", "a").file("/b/tree/x", "x").file("/c/kept", "c").file("/h/kept", "h");
    std::vector<CleanerCategory> list{
        category("One", {Cleaner::getDicForList({"/a/file", "/a/missing"}, "A", false),
                         Cleaner::getDicForList({"/c/kept"}, "C", false)}),
        category("Two", {Cleaner::getDicForList({"/b/tree"}, "B", false),
                         Cleaner::getDicForList({"/h/kept"}, "H", false)})};
    list[0].List[0].isChecked = CheckState::On;
    list[1].List[0].isChecked = CheckState::On;
    list[1].List[1].isChecked = CheckState::Mixed; // a partly checked heading deletes nothing
    list[0].isChecked = CheckState::On;            // the category's own state is not consulted
    const std::int64_t expected = blocksOf(mac.host("/a/file")) + blocksOf(mac.host("/b/tree/x"));

    auto fs = mac.fileSystem();
    Cleaner cleaner(fs, mac.user());
    auto dry = cleaner.cleanSelected(list, false);
    EXPECT_TRUE(present(mac, "/a/file"));
    auto done = cleaner.cleanSelected(list, true);

    for (const auto* report : {&dry, &done}) {
        ASSERT_EQ(report->selected.size(), 2u);
        EXPECT_EQ(report->selected[0].category, "One");
        EXPECT_EQ(report->selected[0].item, "A");
        EXPECT_EQ(report->selected[1].paths, (std::vector<std::string>{"/b/tree"}));
        EXPECT_EQ(report->deleted, (std::vector<std::string>{"/a/file", "/b/tree"}));
        EXPECT_EQ(report->bytes, expected);
        EXPECT_TRUE(report->ok());
    }
    EXPECT_FALSE(present(mac, "/a/file"));
    EXPECT_FALSE(present(mac, "/b/tree"));
    EXPECT_TRUE(present(mac, "/c/kept"));
    EXPECT_TRUE(present(mac, "/h/kept"));
}

TEST(CleanSelected, ReportsWhatCouldNotBeRemovedAndRemovesTheRest) {
    MacFixture mac;
    mac.file("/stuck", "s").file("/free", "f");
    std::vector<CleanerCategory> list{
        category("C", {Cleaner::getDicForList({"/stuck", "/free"}, "I", false)})};
    list[0].List[0].isChecked = CheckState::On;
    auto local = mac.fileSystem();
    FaultyFileSystem fs(local);
    fs.undeletable.insert("/stuck");
    auto report = Cleaner(fs, mac.user()).cleanSelected(list, true);
    EXPECT_FALSE(report.ok());
    ASSERT_EQ(report.failed.size(), 1u);
    EXPECT_EQ(report.failed[0].path, "/stuck");
    EXPECT_FALSE(report.failed[0].error.empty());
    EXPECT_EQ(report.deleted, (std::vector<std::string>{"/free"}));
    EXPECT_FALSE(present(mac, "/free"));
}

TEST(CleanSelected, NamesThePathsThatRefusedToBeReadInADryRunAndAClean) {
    MacFixture mac;
    mac.file("/held/back", "h").file("/free", "f");
    std::vector<CleanerCategory> list{
        category("C", {Cleaner::getDicForList({"/held/back", "/free", "/absent"}, "I", false)})};
    list[0].List[0].isChecked = CheckState::On;
    auto local = mac.fileSystem();
    FaultyFileSystem fs(local);
    fs.denied["/held"] = EPERM;
    for (bool apply : {false, true}) {
        auto report = Cleaner(fs, mac.user()).cleanSelected(list, apply);
        EXPECT_EQ(report.unreadable, (std::vector<std::string>{"/held/back"})) << apply;
    }
    EXPECT_TRUE(present(mac, "/held/back"));
}

TEST(CleanSelected, RemovesLinksThemselvesNeverWhatTheyReach) {
    MacFixture mac;
    SentinelFolder outside;
    const auto before = outside.snapshot();
    mac.file("/keep/me", "k")
        .link("/sel/toOutside", outside.path())
        .link("/sel/toKeep", "/keep")
        .link("/whole", outside.path());
    std::vector<CleanerCategory> list{
        category("C", {Cleaner::getDicForList({"/sel", "/whole", "/whole/Library"}, "I", false)})};
    list[0].List[0].isChecked = CheckState::On;
    auto fs = mac.fileSystem();
    auto report = Cleaner(fs, mac.user()).cleanSelected(list, true);
    EXPECT_TRUE(report.ok());
    EXPECT_FALSE(present(mac, "/sel"));
    EXPECT_FALSE(present(mac, "/whole"));
    EXPECT_TRUE(present(mac, "/keep/me"));
    EXPECT_EQ(outside.snapshot(), before);
}

TEST(CleanSelected, APathInsideAnotherSelectedFolderIsCountedOnce) {
    MacFixture mac;
    mac.fileOfSize(mac.home("/Library/Caches/Adobe/Flash Player/a"), 50000)
        .fileOfSize(mac.home("/Library/Caches/other"), 20000);
    std::vector<CleanerCategory> list{
        category("Flash", {Cleaner::getDicForList({mac.home("/Library/Caches/Adobe/Flash Player")},
                                                  "Flash Cookies", false)}),
        category("System", {Cleaner::getDicForList({mac.home("/Library/Caches")},
                                                   "System Cache Files", false)})};
    checkCategory(list[0], CheckState::On);
    checkCategory(list[1], CheckState::On);
    auto fs = mac.fileSystem();
    Cleaner cleaner(fs, mac.user());
    const auto whole = cleaner.fileSizeOf(mac.home("/Library/Caches")).bytes;
    auto dry = cleaner.cleanSelected(list, false);
    EXPECT_EQ(dry.bytes, whole);
    EXPECT_EQ(dry.deleted, (std::vector<std::string>{mac.home("/Library/Caches")}));
    auto done = cleaner.cleanSelected(list, true);
    EXPECT_EQ(done.bytes, whole);
    EXPECT_FALSE(present(mac, mac.home("/Library/Caches")));
}

TEST(CleanSelected, NothingCheckedDeletesNothing) {
    MacFixture mac;
    mac.file("/a", "a");
    std::vector<CleanerCategory> list{category("C", {Cleaner::getDicForList({"/a"}, "A", false)})};
    auto fs = mac.fileSystem();
    auto report = Cleaner(fs, mac.user()).cleanSelected(list, true);
    EXPECT_TRUE(report.selected.empty());
    EXPECT_TRUE(report.deleted.empty());
    EXPECT_TRUE(present(mac, "/a"));
}

// The same add-on in two Firefox profiles is two rows of one name: the one checked goes, the
// other profile's stays.
TEST(CleanSelected, OfTwoEqualAddOnRowsOnlyTheCheckedOneIsDeleted) {
    MacFixture mac;
    Json ublock = realFirefoxAddOn("uBlock0@raymondhill.net");
    ASSERT_FALSE(ublock.is_null());
    mac.folder("/Applications/Firefox.app");
    std::vector<std::string> addOns;
    for (const char* profile : {"a1.default-release", "b2.work"}) {
        const std::string folder =
            mac.home(std::string("/Library/Application Support/Firefox/Profiles/") + profile);
        addOns.push_back(folder + "/extensions/uBlock0@raymondhill.net.xpi");
        ublock["path"] = addOns.back();
        mac.file(folder + "/extensions.json", Json{{"addons", Json::array({ublock})}}.dump())
            .file(addOns.back(), "xpi");
    }
    auto fs = mac.fileSystem();
    Cleaner cleaner(fs, mac.user());
    auto extensions = cleaner.addBrowserExtensionsDetails();
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < extensions.List.size(); ++i)
        if (extensions.List[i].NameText == "uBlock Origin v1.67.0")
            rows.push_back(i);
    ASSERT_EQ(rows.size(), 2u);
    const auto kept = extensions.List[rows[0]].AllList;
    const auto chosen = extensions.List[rows[1]].AllList;
    ASSERT_EQ(chosen.size(), 1u);
    ASSERT_EQ(kept.size(), 1u);
    ASSERT_NE(kept, chosen);

    ASSERT_TRUE(checkItem(extensions, rows[1], CheckState::On));
    auto report = cleaner.cleanSelected({extensions}, true);
    EXPECT_TRUE(report.ok());
    EXPECT_EQ(report.deleted, chosen);
    EXPECT_TRUE(present(mac, kept[0])) << "the other profile keeps its add-on";
    EXPECT_FALSE(present(mac, chosen[0]));
}

} // namespace
} // namespace sentravex
