#include "CliRunner.h"
#include "MacFixture.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace sentravex {
namespace {

using test::MacFixture;
using test::runCli;
using test::SentinelFolder;
namespace fs = std::filesystem;

// Every entry under a folder, relative to it; links are listed, never followed.
std::set<std::string> tree(const std::string& root) {
    std::set<std::string> out;
    for (auto& e : fs::recursive_directory_iterator(root))
        out.insert(e.path().string().substr(root.size()));
    return out;
}

TEST(RemoveCommand, WithoutYesDeletesNothingAndExitsTwo) {
    MacFixture mac;
    mac.file("/Library/Logs/Quorvane.log").file("/Applications/Quorvane.app/Contents/x");
    for (bool json : {false, true}) {
        std::vector<std::string> args{"remove", "--root", mac.root(), "--user", mac.user()};
        if (json)
            args.push_back("--json");
        auto r = runCli(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_TRUE(fs::exists(mac.host("/Library/Logs/Quorvane.log")));
    EXPECT_TRUE(fs::exists(mac.host("/Applications/Quorvane.app/Contents/x")));
}

// What the privileged command runs for a root other than "/": the seven protected paths go,
// through links resolved inside the root, and nothing else does.
TEST(RemoveCommand, TheProtectedDeletionStaysInsideTheRoot) {
    MacFixture mac;
    SentinelFolder outside;
    const std::string config = "/com.quorvane.Quorvane.Installer.config";
    std::ofstream(outside.path() + config) << "outside";
    const auto before = outside.snapshot();
    mac.file("/Applications/Quorvane.app/Contents/MacOS/Quorvane")
        .file("/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom")
        .file("/private/var/db/receipts/com.example.keep.pkg.bom")
        .file(outside.path() + config, "inside")
        .link("/private/tmp", outside.path());

    struct stat root {};
    ASSERT_EQ(::stat(mac.root().c_str(), &root), 0);
    auto r = runCli({"remove-protected", "--root", mac.root(), "--root-device",
                     std::to_string(root.st_dev), "--root-inode", std::to_string(root.st_ino)});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_FALSE(fs::exists(mac.host("/Applications/Quorvane.app")));
    EXPECT_FALSE(fs::exists(mac.host("/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom")));
    EXPECT_FALSE(fs::exists(mac.host(outside.path() + config)));
    EXPECT_TRUE(fs::exists(mac.host("/private/var/db/receipts/com.example.keep.pkg.bom")));
    EXPECT_EQ(outside.snapshot(), before);
    EXPECT_EQ(runCli({"remove-protected"}).code, 2) << "the root is never guessed";
}

TEST(RemoveCommand, NothingFoundIsDoneWithoutRestart) {
    MacFixture mac;
    mac.folder(mac.home()).file("/Applications/Calculator.app/Contents/x");
    auto r = runCli({"remove", "--root", mac.root(), "--user", mac.user(), "--json", "--yes"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out), (nlohmann::json{{"threats", nlohmann::json::array()},
                                                            {"remaining", 0},
                                                            {"restart_recommended", false}}));
}

// As root the privileged deletion runs directly with the shell, on the fixture's paths only.
TEST(RemoveCommand, RemovesEveryThreatAndNothingElse) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "the privileged deletion would ask for authorisation";
    MacFixture mac("bob");
    SentinelFolder outside;
    const std::string s = outside.path();
    // Outside the root, where the links below would lead a careless deletion.
    fs::create_directories(s + "/tmp/Quorvane");
    std::ofstream(s + "/tmp/com.quorvane.Quorvane.Installer.config") << "outside";
    const auto sentinelBefore = outside.snapshot();

    mac.file("/Applications/Quorvane.app/Contents/Info.plist")
        .file("/Applications/Calculator.app/Contents/Info.plist")
        .file("/private/var/db/receipts/com.quorvane.Quorvane.pkg.plist")
        .file("/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom")
        .file("/private/var/db/receipts/com.example.keep.pkg.bom")
        .file("/Library/Preferences/.3FAD0F65-FC6E-4889-B975-B96CBF807B78")
        .file("/Users/bob/Library/Caches/com.quorvane.Quorvane/c")
        .file("/Users/bob/Documents/notes.txt")
        // Inside the root the links lead to this copy of the outside folder.
        .file(s + "/keep.txt")
        .file(s + "/tmp/com.quorvane.Quorvane.Installer.config")
        .file(s + "/tmp/Quorvane/x")
        .link("/Library/Logs/Nubiloft", s)
        .link("/private/tmp", s + "/tmp");
    const auto before = tree(mac.root());

    auto r = runCli({"remove", "--root", mac.root(), "--user", "bob", "--json", "--yes"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto doc = nlohmann::json::parse(r.out);
    std::set<std::string> paths;
    for (const auto& t : doc["threats"]) {
        EXPECT_EQ(t["result"], "Removed") << t["path"];
        paths.insert(t["path"]);
    }
    EXPECT_EQ(paths, (std::set<std::string>{
                         "/Applications/Quorvane.app",
                         "/private/var/db/receipts/com.quorvane.Quorvane.pkg.plist",
                         "/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom",
                         "/Library/Preferences/.3FAD0F65-FC6E-4889-B975-B96CBF807B78",
                         "/Users/bob/Library/Caches/com.quorvane.Quorvane",
                         "/Library/Logs/Nubiloft",
                         "/private/tmp/com.quorvane.Quorvane.Installer.config",
                         "/private/tmp/Quorvane",
                     }));
    EXPECT_EQ(doc["remaining"], 0);
    EXPECT_EQ(doc["restart_recommended"], true);

    auto expected = before;
    for (const std::string& gone : std::vector<std::string>{
             "/Applications/Quorvane.app",
             "/private/var/db/receipts/com.quorvane.Quorvane.pkg.plist",
             "/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom",
             "/Library/Preferences/.3FAD0F65-FC6E-4889-B975-B96CBF807B78",
             "/Users/bob/Library/Caches/com.quorvane.Quorvane", "/Library/Logs/Nubiloft",
             s + "/tmp/com.quorvane.Quorvane.Installer.config", s + "/tmp/Quorvane"})
        std::erase_if(expected, [&gone](const std::string& p) {
            return p == gone || p.starts_with(gone + "/");
        });
    EXPECT_EQ(tree(mac.root()), expected);
    EXPECT_EQ(outside.snapshot(), sentinelBefore);

    auto again = runCli({"scan", "--root", mac.root(), "--user", "bob"});
    EXPECT_EQ(again.code, 0) << again.out;
}

} // namespace
} // namespace sentravex
