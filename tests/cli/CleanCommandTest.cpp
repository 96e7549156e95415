#include "CliRunner.h"
#include "MacFixture.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

extern char** environ;

namespace sentravex {
namespace {

using test::CliResult;
using test::MacFixture;
using test::runCli;
using Json = nlohmann::json;

const std::string chromeDir = "/Library/Application Support/Google/Chrome";

// Safari with history, Chrome with one extension, an empty Trash.
void buildMac(MacFixture& mac) {
    const std::string ext = mac.home(chromeDir + "/Default/Extensions/abc/1.0_0");
    mac.folder("/Applications/Safari.app")
        .file(mac.home("/Library/Safari/History.db"), "h")
        .file(mac.home("/Library/Safari/TopSites.plist"), "t")
        .folder("/Applications/Google Chrome.app")
        .file(mac.home(chromeDir + "/Local State"),
              R"({"profile":{"info_cache":{"Default":{"name":"Person 1"}}}})")
        .file(mac.home(chromeDir + "/Default/Cookies"), "c")
        .file(ext + "/manifest.json", R"({"name":"Tabber","version":"1.0"})")
        .folder(mac.home("/.Trash"));
}

bool present(const MacFixture& mac, const std::string& logical) {
    return std::filesystem::exists(mac.host(logical));
}

std::vector<std::string> args(const MacFixture& mac, std::vector<std::string> more) {
    std::vector<std::string> all{"clean", "--root", mac.root(), "--user", mac.user()};
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

TEST(CleanCommand, JsonListsCategoriesWithSizesAndItems) {
    MacFixture mac;
    buildMac(mac);
    auto r = runCli(args(mac, {"--json"}));
    ASSERT_EQ(r.code, 0) << r.err;
    auto doc = Json::parse(r.out);
    std::vector<std::string> names;
    for (const auto& c : doc["categories"])
        names.push_back(c["name"]);
    EXPECT_EQ(names,
              (std::vector<std::string>{"Safari", "Chrome", "Browser Extensions", "System"}));
    const auto& safari = doc["categories"][0];
    EXPECT_GT(safari["bytes"].get<std::int64_t>(), 0);
    EXPECT_EQ(safari["enabled"], true);
    ASSERT_EQ(safari["items"].size(), 13u);
    EXPECT_EQ(safari["items"][2]["name"], "History");
    EXPECT_EQ(safari["items"][2]["enabled"], true);
    EXPECT_EQ(safari["items"][2]["paths"][0], mac.home("/Library/Safari/History.db"));
    EXPECT_EQ(safari["items"][3]["size"], "0 byte");
    EXPECT_EQ(safari["items"][3]["bytes"], 0);
    EXPECT_EQ(safari["items"][3]["enabled"], false);
    const auto& extensions = doc["categories"][2];
    EXPECT_TRUE(extensions["bytes"].is_null());
    EXPECT_EQ(extensions["size"], "");
    EXPECT_EQ(extensions["items"][1]["name"], "Tabber v1.0 (Person 1)");
    EXPECT_TRUE(extensions["items"][1]["bytes"].is_null());
}

TEST(CleanCommand, DryRunListsWhatApplyThenDeletes) {
    MacFixture mac;
    buildMac(mac);
    auto dry = runCli(args(mac, {"--json", "--select", "Safari", "--select",
                                 "Browser Extensions/Google Chrome Extensions"}));
    ASSERT_EQ(dry.code, 0) << dry.err;
    auto planned = Json::parse(dry.out);
    EXPECT_TRUE(present(mac, mac.home("/Library/Safari/History.db")));
    ASSERT_EQ(planned["selected"].size(), 13u + 2u) << "zero-size items are selected too";
    EXPECT_EQ(planned["selected"][14]["item"], "Tabber v1.0 (Person 1)");
    EXPECT_EQ(planned["deleted"], (Json{mac.home("/Library/Safari/History.db"),
                                        mac.home("/Library/Safari/TopSites.plist"),
                                        mac.home(chromeDir + "/Default/Extensions/abc")}));
    EXPECT_GT(planned["bytes"].get<std::int64_t>(), 0);
    EXPECT_EQ(planned["failed"], Json::array());

    auto applied = runCli(args(mac, {"--json", "--apply", "--select", "Safari", "--select",
                                     "Browser Extensions/Google Chrome Extensions"}));
    ASSERT_EQ(applied.code, 0) << applied.err;
    auto done = Json::parse(applied.out);
    EXPECT_EQ(done["deleted"], planned["deleted"]);
    EXPECT_EQ(done["bytes"], planned["bytes"]);
    EXPECT_FALSE(present(mac, mac.home("/Library/Safari/History.db")));
    EXPECT_FALSE(present(mac, mac.home(chromeDir + "/Default/Extensions/abc")));
    EXPECT_TRUE(present(mac, mac.home(chromeDir + "/Default/Cookies")));
}

TEST(CleanCommand, OneItemAndPlainTextSummary) {
    MacFixture mac;
    buildMac(mac);
    auto r = runCli(args(mac, {"--select", "Chrome/Cookies (Person 1)", "--apply"}));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("deleted  " + mac.home(chromeDir + "/Default/Cookies") + "\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("You have successfully cleared selected data."), std::string::npos);
    EXPECT_FALSE(present(mac, mac.home(chromeDir + "/Default/Cookies")));
    EXPECT_TRUE(present(mac, mac.home("/Library/Safari/History.db")));
}

// The same add-on in two Firefox profiles is two rows of one name; naming it names both.
TEST(CleanCommand, ANameSelectsEveryRowThatBearsIt) {
    MacFixture mac;
    mac.folder("/Applications/Firefox.app");
    std::vector<std::string> addOns;
    for (const char* profile : {"a1.default-release", "b2.work"}) {
        const std::string folder =
            mac.home(std::string("/Library/Application Support/Firefox/Profiles/") + profile);
        addOns.push_back(folder + "/extensions/same.xpi");
        mac.file(addOns.back(), "x")
            .file(folder + "/extensions.json", Json{{"addons",
                                                     {{{"version", "1"},
                                                       {"defaultLocale", {{"name", "Same"}}},
                                                       {"path", addOns.back()}}}}}
                                                   .dump());
    }
    auto r = runCli(args(mac, {"--json", "--apply", "--select", "Browser Extensions/Same v1"}));
    ASSERT_EQ(r.code, 0) << r.err;
    auto doc = Json::parse(r.out);
    std::vector<std::string> items;
    for (const auto& selected : doc["selected"])
        items.push_back(selected["item"]);
    EXPECT_EQ(items, (std::vector<std::string>{"Firefox Extensions", "Same v1", "Same v1"}))
        << "the group is whole, so its heading is checked too";
    for (const auto& path : addOns)
        EXPECT_FALSE(present(mac, path)) << path;
}

TEST(CleanCommand, WhatCannotBeRemovedIsReportedWithExitOne) {
    MacFixture mac;
    buildMac(mac);
    mac.file(mac.home("/.Trash/locked/inner"), "x").file(mac.home("/.Trash/loose"), "y");
    // The account running the command may read the tree but not change the locked folder.
    for (auto& e : std::filesystem::recursive_directory_iterator(mac.root()))
        ::chmod(e.path().c_str(), e.is_directory() ? 0777 : 0666);
    ::chmod(mac.root().c_str(), 0755);
    ::chmod(mac.host(mac.home("/.Trash/locked")).c_str(), 0555);
    if (::geteuid() != 0 && ::access(mac.host(mac.home("/.Trash/locked")).c_str(), W_OK) == 0)
        GTEST_SKIP() << "permissions do not bind this account";
    auto r = runCli(args(mac, {"--json", "--select", "System/Trash Files", "--apply"}), true);
    ::chmod(mac.host(mac.home("/.Trash/locked")).c_str(), 0755);
    if (r.code == 126 || r.code == 127)
        GTEST_SKIP() << "the unprivileged account cannot run the command from this build folder";
    ASSERT_EQ(r.code, 1) << r.err << r.out;
    auto doc = Json::parse(r.out);
    ASSERT_EQ(doc["failed"].size(), 1u);
    EXPECT_EQ(doc["failed"][0]["path"], mac.home("/.Trash/locked"));
    EXPECT_FALSE(doc["failed"][0]["error"].get<std::string>().empty());
    EXPECT_EQ(doc["deleted"], (Json{mac.home("/.Trash/loose")}));
    EXPECT_FALSE(present(mac, mac.home("/.Trash/loose")));
}

// Safari's folder held back reads as "0 byte" alone unless the command says why.
TEST(CleanCommand, PlacesThatRefuseToBeReadAreNamedOnStderrAndInTheJson) {
    MacFixture mac;
    buildMac(mac);
    for (auto& e : std::filesystem::recursive_directory_iterator(mac.root()))
        ::chmod(e.path().c_str(), e.is_directory() ? 0777 : 0666);
    ::chmod(mac.root().c_str(), 0755);
    const std::string safari = mac.host(mac.home("/Library/Safari"));
    ::chmod(safari.c_str(), 0);
    if (::geteuid() != 0 && ::access(safari.c_str(), R_OK) == 0)
        GTEST_SKIP() << "permissions do not bind this account";
    auto listed = runCli(args(mac, {"--json"}), true);
    auto selected = runCli(args(mac, {"--json", "--select", "Safari/History"}), true);
    auto clean = runCli(args(mac, {}), true);
    ::chmod(safari.c_str(), 0755);
    if (listed.code == 126 || listed.code == 127)
        GTEST_SKIP() << "the unprivileged account cannot run the command from this build folder";

    ASSERT_EQ(listed.code, 0) << listed.err;
    const auto doc = Json::parse(listed.out);
    const auto& places = doc["unreadable_places"];
    ASSERT_EQ(places.size(), 15u) << places.dump() << ": every path of Safari's folder";
    EXPECT_EQ(places[0], mac.home("/Library/Safari/History.db"));
    const auto& category = doc["categories"][0];
    EXPECT_EQ(category["unreadable"], places);
    EXPECT_EQ(category["items"][0]["unreadable"], Json::array()) << "Cookies lie elsewhere";
    EXPECT_EQ(category["items"][2]["unreadable"].size(), 3u) << "History";
    EXPECT_EQ(doc["categories"][1]["unreadable"], Json::array()) << "Chrome";
    EXPECT_NE(listed.err.find("15 places could not be read"), std::string::npos) << listed.err;
    EXPECT_EQ(std::count(listed.err.begin(), listed.err.end(), '\n'), 1) << "one line";

    ASSERT_EQ(selected.code, 0) << selected.err;
    EXPECT_EQ(Json::parse(selected.out)["unreadable_places"].size(), 3u) << selected.out;
    EXPECT_NE(selected.err.find("3 places could not be read"), std::string::npos);

    EXPECT_NE(clean.out.find("0 byte · no access"), std::string::npos) << clean.out;
}

// The command line raises its limit of open files to the hard limit itself; where that is still
// too low for the depth of a cache, the size is named as not whole, never shown as all there is.
TEST(CleanCommand, ACacheDeeperThanTheOpenFileLimitAllowsIsWholeOrNamedOnStderr) {
    MacFixture mac;
    const std::string caches = mac.home("/Library/Caches");
    std::string level = caches + "/deep";
    for (int i = 0; i < 300; ++i, level += "/d")
        mac.fileOfSize(level + "/level", 4096);
    const std::int64_t whole = 300 * test::blocksOf(mac.host(caches + "/deep/level"));
    for (const rlim_t hard : {20, 4096}) {
        auto lowered = [hard] {
            const rlimit limit{20, hard};
            ::setrlimit(RLIMIT_NOFILE, &limit);
        };
        const auto listed = runCli(args(mac, {"--json"}), false, lowered);
        const auto dry =
            runCli(args(mac, {"--select", "System/System Cache Files"}), false, lowered);
        ASSERT_EQ(listed.code, 0) << listed.err;
        ASSERT_EQ(dry.code, 0) << dry.err;
        Json row;
        const auto doc = Json::parse(listed.out);
        for (const auto& category : doc["categories"])
            if (category["name"] == "System")
                row = category["items"][0];
        ASSERT_EQ(row["name"], "System Cache Files") << listed.out;
        const auto bytes = row["bytes"].get<std::int64_t>();
        if (hard < 100) {
            EXPECT_LT(bytes, whole);
            EXPECT_EQ(row["unreadable"], Json::array({caches})) << hard;
            for (const auto* run : {&listed, &dry})
                EXPECT_NE(run->err.find("could not be read"), std::string::npos) << run->err;
        } else {
            EXPECT_EQ(bytes, whole) << "the limit was raised to the hard limit";
            EXPECT_EQ(row["unreadable"], Json::array());
            EXPECT_EQ(listed.err + dry.err, "");
        }
    }
}

TEST(CleanCommand, UnknownNamesAreUsageErrorsAndDeleteNothing) {
    MacFixture mac;
    buildMac(mac);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--select", "Mail", "--apply"}, "Mail"},
        {{"--select", "Safari", "--select", "Safari/Nope", "--apply"}, "Nope"},
        {{"--select", "Bogus/History", "--apply"}, "Bogus"},
        {{"--apply"}, "--select"},
    };
    for (const auto& [more, named] : cases) {
        auto r = runCli(args(mac, more));
        EXPECT_EQ(r.code, 2) << named;
        EXPECT_TRUE(r.out.empty()) << named;
        EXPECT_NE(r.err.find(named), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_TRUE(present(mac, mac.home("/Library/Safari/History.db")));
}

} // namespace
} // namespace sentravex

namespace sentravex {
namespace {

// A program of this account named like Chrome's, running until the end of the test.
class FakeChrome {
public:
    explicit FakeChrome(const std::string& folder) {
        const std::string copy = folder + "/chrome";
        std::filesystem::copy_file("/bin/sleep", copy);
        std::vector<char*> argv{const_cast<char*>(copy.c_str()), const_cast<char*>("600"), nullptr};
        // Its output goes nowhere: a test that dies early leaves no one holding the runner's pipes.
        posix_spawn_file_actions_t quiet;
        ::posix_spawn_file_actions_init(&quiet);
        for (int fd : {0, 1, 2})
            ::posix_spawn_file_actions_addopen(&quiet, fd, "/dev/null", O_RDWR, 0);
        running_ = ::posix_spawn(&pid_, copy.c_str(), &quiet, nullptr, argv.data(), environ) == 0;
        ::posix_spawn_file_actions_destroy(&quiet);
    }
    ~FakeChrome() {
        if (running_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    explicit operator bool() const { return running_; }
    // Whether it is still there, not yet reaped after a quit request.
    bool alive() const { return ::waitpid(pid_, nullptr, WNOHANG) == 0; }

private:
    pid_t pid_ = 0;
    bool running_ = false;
};

// The rule holds for this machine's own disk only, so the command line is shut in a tree of its
// own as "/": a private mount namespace and a change of root, where the superuser may.
CliResult cleanAsRoot(const MacFixture& mac, std::vector<std::string> more) {
    const std::string cli = SENTRAVEX_CLI;
    const std::string script = "set -e; R=\"$1\"; shift\n"
                               "mkdir -p \"$R/usr\" \"$R/proc\" \"$R/cli\"\n"
                               "for l in bin lib lib64 sbin; do [ -L /$l ] && ln -sfn \"$(readlink "
                               "/$l)\" \"$R/$l\"; done\n"
                               "mount --bind /usr \"$R/usr\"; mount --bind /proc \"$R/proc\"\n"
                               "mount --bind \"$(dirname \"$CLI\")\" \"$R/cli\"\n"
                               "exec chroot \"$R\" /cli/sentravex-cli \"$@\"\n";
    std::vector<std::string> argv{"/usr/bin/env",  "CLI=" + cli, "/usr/bin/unshare", "--mount",
                                  "--propagation", "private",    "/bin/sh",          "-c",
                                  script,          "sh",         mac.root(),         "clean",
                                  "--root",        "/",          "--user",           mac.user()};
    argv.insert(argv.end(), more.begin(), more.end());
    return test::runProgram(argv);
}

TEST(CleanCommand, ARunningApplicationHoldsItsCategoryBack) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "a tree of its own as \"/\" needs the superuser";
    MacFixture mac;
    buildMac(mac);
    FakeChrome chrome(mac.root());
    ASSERT_TRUE(chrome);
    const std::string cookies = mac.home(chromeDir + "/Default/Cookies");

    auto listing = cleanAsRoot(mac, {"--json"});
    if (listing.code != 0)
        GTEST_SKIP() << "no mount namespace here: " << listing.err;
    const auto listed = Json::parse(listing.out);
    for (const auto& c : listed["categories"])
        EXPECT_EQ(c["running"], c["name"] == "Chrome" ? Json("Google Chrome") : Json()) << c;

    auto refused = cleanAsRoot(mac, {"--select", "Chrome", "--select", "Safari", "--apply"});
    EXPECT_EQ(refused.code, 2);
    EXPECT_EQ(refused.err, "sentravex-cli: Google Chrome is running. Quit it before cleaning, or "
                           "it may write back what is deleted. (--close-running asks, --force "
                           "cleans anyway)\n");
    EXPECT_TRUE(present(mac, cookies));
    EXPECT_TRUE(present(mac, mac.home("/Library/Safari/History.db"))) << "nothing is deleted";

    EXPECT_EQ(cleanAsRoot(mac, {"--select", "Safari", "--apply"}).code, 0) << "not Chrome's";
    EXPECT_EQ(cleanAsRoot(mac, {"--select", "Chrome", "--force", "--apply"}).code, 0);
    EXPECT_FALSE(present(mac, cookies));

    mac.file(cookies, "c");
    auto closed = cleanAsRoot(mac, {"--select", "Chrome", "--close-running", "--apply"});
    EXPECT_EQ(closed.code, 0) << closed.err;
    EXPECT_FALSE(chrome.alive()) << "asked to quit, it did";
}

// Anywhere but this machine's own disk, nothing of the rule applies.
TEST(CleanCommand, AnotherDiskHasNoRunningApplications) {
    MacFixture mac;
    buildMac(mac);
    FakeChrome chrome(mac.root());
    const auto listed = Json::parse(runCli(args(mac, {"--json"})).out);
    for (const auto& c : listed["categories"])
        EXPECT_TRUE(c["running"].is_null()) << c;
    EXPECT_EQ(runCli(args(mac, {"--select", "Chrome", "--apply"})).code, 0);
}

} // namespace
} // namespace sentravex
