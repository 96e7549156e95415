#include "CliRunner.h"
#include "MacFixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace sentravex {
namespace {

using test::MacFixture;
using test::runCli;

TEST(ScanCommand, JsonListsThreatsInOrderWithTheCountedPacing) {
    MacFixture mac("bob");
    mac.file("/Applications/Quorvane.app/Contents/Info.plist")
        .file("/Users/bob/Library/Caches/com.quorvane.Quorvane/c");
    auto r = runCli({"scan", "--root", mac.root(), "--user", "bob", "--json"});
    EXPECT_EQ(r.code, 1);
    auto doc = nlohmann::json::parse(r.out);
    EXPECT_EQ(doc["root"], mac.root());
    EXPECT_EQ(doc["user"], "bob");
    ASSERT_EQ(doc["threats"].size(), 2u);
    EXPECT_EQ(doc["threats"][0], (nlohmann::json{{"name", "Quorvane.app"},
                                                 {"path", "/Applications/Quorvane.app"},
                                                 {"kind", "Quorvane"},
                                                 {"risk", "High Risk"}}));
    EXPECT_EQ(doc["threats"][1]["path"], "/Users/bob/Library/Caches/com.quorvane.Quorvane");
    EXPECT_EQ(doc["progress"]["steps"], 100);
    EXPECT_DOUBLE_EQ(doc["progress"]["seconds"].get<double>(), 26.8);
}

struct SummaryCase {
    std::vector<std::string> files;
    int code;
    std::string lastLine;
};

class ScanSummary : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(ScanSummary, PrintsOneLinePerThreatThenTheSummary) {
    const auto& c = GetParam();
    MacFixture mac;
    mac.folder(mac.home());
    for (const auto& f : c.files)
        mac.file(f);
    auto r = runCli({"scan", "--root", mac.root(), "--user", mac.user()});
    EXPECT_EQ(r.code, c.code);
    EXPECT_TRUE(r.err.empty()) << r.err;
    ASSERT_FALSE(r.out.empty());
    std::string text = r.out.substr(0, r.out.size() - 1);
    EXPECT_EQ(text.substr(text.find_last_of('\n') + 1), c.lastLine);
    EXPECT_EQ(static_cast<std::size_t>(std::count(r.out.begin(), r.out.end(), '\n')),
              c.files.size() + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScanSummary,
    ::testing::Values(SummaryCase{{}, 0, "No Threats Found"},
                      SummaryCase{{"/private/tmp/Quorvane"}, 1, "1 Potential Threat Detected"},
                      SummaryCase{{"/private/tmp/Quorvane", "/Library/Logs/Nubiloft"},
                                  1,
                                  "2 Potential Threats Detected"}));

TEST(ScanCommand, UsageAndEnvironmentErrorsExitTwoWithOneLine) {
    MacFixture mac;
    mac.file("/plain");
    const std::vector<std::vector<std::string>> cases = {
        {"scan", "--bogus"},
        {"scan", "--root", mac.root() + "/missing"},
        {"scan", "--root", mac.host("/plain")},
        {"scan", "--root", mac.root(), "--user", "../etc"},
        {"frobnicate"},
    };
    for (const auto& args : cases) {
        auto r = runCli(args);
        EXPECT_EQ(r.code, 2) << args.back();
        EXPECT_TRUE(r.out.empty()) << args.back();
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

TEST(DemoCommand, WritesATreeTheScanFindsEverywhere) {
    MacFixture mac;
    auto demo = runCli({"demo", mac.root(), "--user", "demo"});
    ASSERT_EQ(demo.code, 0) << demo.err;
    auto r = runCli({"scan", "--root", mac.root(), "--user", "demo", "--json"});
    EXPECT_EQ(r.code, 1);
    auto doc = nlohmann::json::parse(r.out);
    std::vector<std::string> paths;
    for (const auto& t : doc["threats"])
        paths.push_back(t["path"]);
    auto has = [&](const std::string& p) {
        return std::find(paths.begin(), paths.end(), p) != paths.end();
    };
    for (const char* p : {"/Applications/Quorvane.app",
                          "/Library/LaunchDaemons/com.nimbrel.Quorvane.AntiVirus.plist",
                          "/Users/demo/Library/LaunchAgents/com.vaultmere.Nubiloft.autostart.plist",
                          "/Users/demo/Documents/Quorvane Backups",
                          "/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom"})
        EXPECT_TRUE(has(p)) << p;
    EXPECT_FALSE(has("/Applications/Calculator.app"));
}

} // namespace
} // namespace sentravex
