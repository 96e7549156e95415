#include "scan/ThreatScanner.h"

#include "CaseInsensitiveFileSystem.h"
#include "FaultyFileSystem.h"
#include "MacFixture.h"
#include "RecordingSink.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace sentravex {
namespace {

using test::FaultyFileSystem;
using test::MacFixture;
using test::RecordingSink;
using test::SentinelFolder;

struct Scan {
    std::vector<std::string> paths;
    RecordingSink sink;
    std::vector<QuorvanePtr> threats;
};

Scan scan(const FileSystem& fs, const std::string& user) {
    resetScanStepCounter();
    ThreatScanner scanner(fs, user);
    Scan s;
    scanner.checkQuorvane(s.sink);
    s.threats = scanner.arrQuorvaneList();
    for (const auto& t : s.threats)
        s.paths.push_back(t->url());
    return s;
}

Scan scan(const MacFixture& mac) {
    return scan(mac.fileSystem(), mac.user());
}

TEST(CatalogueCheck, CleanTreeMakesTheWholeStepPlan) {
    MacFixture mac;
    mac.folder("/Applications").folder("/Library/LaunchAgents");
    auto s = scan(mac);
    EXPECT_TRUE(s.threats.empty());
    ASSERT_EQ(s.sink.steps.size(), 99u);
    EXPECT_DOUBLE_EQ(s.sink.totalSeconds(), 26.3);
    EXPECT_EQ(s.sink.starts, 1);
    EXPECT_EQ(s.sink.dones, 1);
    for (int i = 0; i < 99; ++i)
        EXPECT_EQ(s.sink.steps[i].number, i);

    const std::string backups = "/Users/alice/Documents/Quorvane Backups";
    struct Expected {
        int at;
        std::string text;
        double seconds;
    };
    const Expected plan[] = {
        {0, "Quorvane", 0.2},
        {25, "Quorvane", 0.2},
        {26, "Quorvane", 0.3}, // the application check's own step
        {27, "Quorvane.app", 0.3},
        {29, "Nubiloft.app", 0.5},
        {30, "Quorvane", 0.5},
        {33, "Quorvane Helper", 0.4},
        {34, "com.nimbrel.Quorvane.Helper.plist", 0.2}, // agents step before their check
        {35, "Quorvane", 0.3},
        {36, "com.nimbrel.Quorvane.plugin.Backup.agent.plist", 0.6},
        {44, "com.nimbrel.Quorvane.AntiVirus.plist", 0.4},
        {45, "Quorvane", 0.4},
        {46, "com.nimbrel.Quorvane.plugin.AntiTheft.daemon.plist", 0.5},
        {48, backups, 0.3},
        {49, "com.quorvane.Quorvane.plugin.AntiTheft.daemon.plist", 0.3},
        {51, "Quorvane", 0.2},
        {85, "Quorvane", 0.2},
        {86, backups, 0.3},
        {87, "com.nimbrel.Quorvane.Helper.plist", 0.5},
        {88, backups, 0.3},
        {89, "/private/tmp/com.quorvane.Quorvane.Installer.config", 0.4},
        {91, "/private/var/db/receipts/com.quorvane.Quorvane.affid.pkg.bomr", 0.4},
        {94, "/Users/alice/Downloads/Quorvane", 0.4},
        {96, "/private/var/folders/mh/yprf0vxs3mx_n2lg3tjgqddm0000gn/T/Quorvane", 0.3},
        {97, "/private/tmp/Quorvane", 0.3},
        {98, "/private/tmp/Quorvane", 0.3},
    };
    for (const auto& e : plan) {
        EXPECT_EQ(s.sink.steps[e.at].text, e.text) << "step " << e.at;
        EXPECT_DOUBLE_EQ(s.sink.steps[e.at].seconds, e.seconds) << "step " << e.at;
    }
}

TEST(CatalogueCheck, StepNumbersGoOnAcrossScansUntilReset) {
    MacFixture mac;
    auto fs = mac.fileSystem();
    resetScanStepCounter();
    ThreatScanner scanner(fs, mac.user());
    RecordingSink first, second;
    scanner.checkQuorvane(first);
    scanner.checkQuorvane(second);
    EXPECT_EQ(second.steps.front().number, 99);
}

struct FindCase {
    const char* what;
    std::vector<std::string> files;    // made in the fixture ("~" is the home folder)
    std::vector<std::string> expected; // found, in order
    std::size_t steps = 99;
    bool anyOrder = false; // entries of one folder come in the file system's order
};

class CatalogueFinds : public ::testing::TestWithParam<FindCase> {};

std::string expandHome(const std::string& p, const MacFixture& mac) {
    return p.front() == '~' ? mac.home(p.substr(1)) : p;
}

TEST_P(CatalogueFinds, FindsExactlyTheseInOrder) {
    const auto& c = GetParam();
    MacFixture mac;
    for (const auto& f : c.files)
        mac.file(expandHome(f, mac), "x");
    std::vector<std::string> expected;
    for (const auto& e : c.expected)
        expected.push_back(expandHome(e, mac));
    auto s = scan(mac);
    if (c.anyOrder) {
        std::sort(expected.begin(), expected.end());
        std::sort(s.paths.begin(), s.paths.end());
    }
    EXPECT_EQ(s.paths, expected) << c.what;
    EXPECT_EQ(s.sink.steps.size(), c.steps) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CatalogueFinds,
    ::testing::Values(
        FindCase{"application first, then the agent",
                 {"/Library/LaunchAgents/com.nimbrel.Quorvane.Helper.plist",
                  "/Applications/Quorvane.app/Contents/Info.plist"},
                 {"/Applications/Quorvane.app",
                  "/Library/LaunchAgents/com.nimbrel.Quorvane.Helper.plist"}},
        FindCase{"names contain the entry, ignoring case; no subfolders; no hidden apps",
                 {"/Applications/QUORVANE.APP/x", "/Applications/Old Quorvane.app/x",
                  "/Applications/Utilities/Quorvane.app/x", "/Applications/.Quorvane.app/x"},
                 {"/Applications/Old Quorvane.app", "/Applications/QUORVANE.APP"},
                 99,
                 true},
        FindCase{"agents in both Library folders",
                 {"/Library/LaunchAgents/com.vaultmere.Nubiloft.notify.plist",
                  "~/Library/LaunchAgents/com.vaultmere.Nubiloft.notify.plist"},
                 {"/Library/LaunchAgents/com.vaultmere.Nubiloft.notify.plist",
                  "~/Library/LaunchAgents/com.vaultmere.Nubiloft.notify.plist"}},
        FindCase{"a cache only in the home, through the home variant",
                 {"~/Library/Caches/com.nimbrel.Quorvane/c"},
                 {"~/Library/Caches/com.nimbrel.Quorvane"},
                 100},
        FindCase{"home Documents/Quorvane by location and single path: one record",
                 {"~/Documents/Quorvane/x"},
                 {"~/Documents/Quorvane"},
                 100},
        FindCase{"Quorvane Helper matches both support rows: one record",
                 {"/Library/Application Support/Quorvane Helper/x"},
                 {"/Library/Application Support/Quorvane Helper"}},
        FindCase{"daemons, receipts and the hidden marker",
                 {"/Library/LaunchDaemons/com.nimbrel.Quorvane.AntiVirus.plist",
                  "/private/var/db/receipts/com.quorvane.Quorvane.affid.pkg.bom",
                  "/Library/Preferences/.3246584E-0CF8-4153-835D-C7D952862F9D"},
                 {"/Library/LaunchDaemons/com.nimbrel.Quorvane.AntiVirus.plist",
                  "/Library/Preferences/.3246584E-0CF8-4153-835D-C7D952862F9D",
                  "/private/var/db/receipts/com.quorvane.Quorvane.affid.pkg.bom"},
                 100},
        FindCase{"blanks and non-ASCII names",
                 {"/Library/Application Support/Mein Quorvane Ü/x",
                  "~/Library/Saved Application State/com.nimbrel.Quorvane.savedState/w"},
                 {"/Library/Application Support/Mein Quorvane Ü",
                  "~/Library/Saved Application State/com.nimbrel.Quorvane.savedState"},
                 100}));

TEST(CatalogueCheck, EveryLocationFindAddsAStepShowingItsPath) {
    MacFixture mac;
    mac.file("/Library/Logs/Quorvane.log")
        .file(mac.home("/Library/Logs/Quorvane.log"))
        .file("/Library/Logs/Nubiloft");
    auto s = scan(mac);
    ASSERT_EQ(s.sink.steps.size(), 102u);
    EXPECT_DOUBLE_EQ(s.sink.totalSeconds(), 27.8);
    EXPECT_EQ(s.sink.steps[87].text, "/Library/Logs/Quorvane.log");
    EXPECT_EQ(s.sink.steps[88].text, mac.home("/Library/Logs/Quorvane.log"));
    EXPECT_EQ(s.sink.steps[89].text, "/Library/Logs/Nubiloft");
    EXPECT_EQ(s.sink.steps.back().number, 101) << "the display shows 102% after it";
}

TEST(CatalogueCheck, RecordsCarryTheCatalogueLabels) {
    MacFixture mac;
    mac.folder("/Applications/Nubiloft.app");
    auto s = scan(mac);
    ASSERT_EQ(s.threats.size(), 1u);
    const auto& q = *s.threats.front();
    EXPECT_EQ(q.name(), "Nubiloft.app");
    EXPECT_EQ(q.infections(), "Quorvane");
    EXPECT_EQ(q.risk(), "High Risk");
    EXPECT_EQ(q.size(), 0);
    EXPECT_TRUE(q.isNoAction());
}

TEST(CatalogueCheck, UnreadableOrMissingFoldersContributeNothing) {
    MacFixture mac;
    mac.file("/Library/LaunchAgents/com.nimbrel.Quorvane.Helper.plist")
        .file("/Applications/Quorvane.app/x")
        .file("/private/tmp/Quorvane");
    auto real = mac.fileSystem();
    FaultyFileSystem fs(real);
    fs.unreadable = {"/Library/LaunchAgents", "/Applications"};
    fs.unexaminable = {"/private/tmp/Quorvane"};
    auto s = scan(fs, mac.user());
    EXPECT_TRUE(s.threats.empty());
    EXPECT_EQ(s.sink.steps.size(), 99u);
}

TEST(CatalogueCheck, PlainFileWhereAFolderIsExpectedListsEmpty) {
    MacFixture mac;
    mac.file("/Library/LaunchAgents", "not a folder").file("/private/tmp/Quorvane");
    EXPECT_EQ(scan(mac).paths, std::vector<std::string>{"/private/tmp/Quorvane"});
}

struct SameEntryCase {
    const char* what;
    std::function<void(MacFixture&)> make;
    bool ignoreCase; // on a disk that finds names ignoring case, as a Mac's does by default
    std::vector<std::string> expected; // "~" is the home folder
};

// One entry reached under two spellings is one threat; two entries are two, however alike.
TEST(CatalogueCheck, OneEntryReachedTwoWaysIsOneThreat) {
    const std::string support = "/Library/Application Support";
    const SameEntryCase cases[] = {
        {"listed in lower case, looked for in mixed case",
         [&](MacFixture& mac) { mac.file(mac.home(support + "/com.quorvane.quorvane/x")); },
         true,
         {"~" + support + "/com.quorvane.quorvane"}},
        {"the home's support folder is a link to the disk's",
         [&](MacFixture& mac) {
             mac.file(support + "/com.quorvane.Quorvane/x").link(mac.home(support), support);
         },
         false,
         {support + "/com.quorvane.Quorvane"}},
        {"a link at the end is an entry of its own, removed apart from its target",
         [](MacFixture& mac) {
             mac.file("/Library/Caches/com.nimbrel.Quorvane/c")
                 .link(mac.home("/Library/Caches/com.nimbrel.Quorvane"),
                       "/Library/Caches/com.nimbrel.Quorvane");
         },
         false,
         {"/Library/Caches/com.nimbrel.Quorvane", "~/Library/Caches/com.nimbrel.Quorvane"}},
        {"two names of one file (a hard link) are two entries",
         [](MacFixture& mac) {
             mac.file("/Library/Logs/Quorvane.log", "log").folder(mac.home("/Library/Logs"));
             ASSERT_EQ(::link(mac.host("/Library/Logs/Quorvane.log").c_str(),
                              mac.host(mac.home("/Library/Logs/Quorvane.log")).c_str()),
                       0);
         },
         false,
         {"/Library/Logs/Quorvane.log", "~/Library/Logs/Quorvane.log"}},
    };
    for (const auto& c : cases) {
        MacFixture mac;
        c.make(mac);
        const auto local = mac.fileSystem();
        const test::CaseInsensitiveFileSystem folded(local);
        const FileSystem& fs = c.ignoreCase ? static_cast<const FileSystem&>(folded) : local;
        std::vector<std::string> expected;
        for (const auto& e : c.expected)
            expected.push_back(expandHome(e, mac));
        EXPECT_EQ(scan(fs, mac.user()).paths, expected) << c.what;
    }
}

TEST(CatalogueCheck, LinksNeverLeadOutOfTheRoot) {
    MacFixture mac;
    SentinelFolder outside;
    std::string target = outside.path() + "/Library/LaunchAgents";
    std::filesystem::create_directories(target);
    std::ofstream(target + "/com.nimbrel.Quorvane.Helper.plist") << "x";
    std::ofstream(outside.path() + "/Quorvane.log") << "x";
    mac.link("/Library/LaunchAgents", target)
        .link("/Library/Logs", "../../../../../../../../../../" + outside.path());
    EXPECT_TRUE(scan(mac).threats.empty());
}

// An application-support folder of `n` entries that all match two catalogue rows; nothing else.
class CrowdedSupportFolder : public FileSystem {
public:
    explicit CrowdedSupportFolder(std::size_t n) {
        for (std::size_t i = 0; i < n; ++i)
            entries_.push_back(folder + "/Quorvane Helper " + std::to_string(i));
    }
    bool exists(const std::string& p) const override { return p.starts_with(folder + "/"); }
    bool isDirectory(const std::string&) const override { return false; }
    bool isLink(const std::string&) const override { return false; }
    std::vector<std::string> listFolder(const std::string& p) const override {
        return p == folder ? entries_ : std::vector<std::string>{};
    }
    SizeResult allocatedSize(const std::string&, const KeepWalking& = {},
                             LinkedFiles* = nullptr) const override {
        return {};
    }
    RemoveResult removeItem(const std::string&, const RemoveProgress& = {}) const override {
        return {};
    }
    bool isWritable(const std::string&) const override { return false; }
    std::optional<std::string> readFile(const std::string&, std::size_t) const override {
        return std::nullopt;
    }
    int readError(const std::string& p) const override { return exists(p) ? 0 : ENOENT; }
    std::optional<FileIdentity> identity(const std::string&) const override { return std::nullopt; }

private:
    const std::string folder = "/Library/Application Support";
    std::vector<std::string> entries_;
};

// Their cost is measured in bench/ (catalogueCheckOnManyMatches).
TEST(CatalogueCheck, ManyMatchesAreEachRecordedOnce) {
    const std::size_t n = 40'000;
    const CrowdedSupportFolder folder(n);
    auto s = scan(folder, "alice");
    ASSERT_EQ(s.threats.size(), n);
    EXPECT_EQ(s.paths.back(),
              "/Library/Application Support/Quorvane Helper " + std::to_string(n - 1));
}

} // namespace
} // namespace sentravex
