// Hostile Mac trees driven end to end through the command line: whatever links, names and files
// a tree holds, nothing outside the root is listed, read into a listing or changed.
#include "CliRunner.h"
#include "MacFixture.h"

#include <cctype>
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

constexpr const char* kUser = "alice";

// A trace at every place the scan reads or the removal deletes, and some of the user's own files.
// "~" stands for the home folder.
constexpr const char* kTree[] = {
    "/Applications/Quorvane.app/Contents/Info.plist",
    "/Applications/Quorvane.app/Contents/MacOS/Quorvane",
    "/Applications/Nubiloft.app/Contents/Info.plist",
    "/Applications/Calculator.app/Contents/Info.plist",
    "/Library/Application Support/Quorvane/engine.db",
    "/Library/LaunchAgents/com.nimbrel.Quorvane.Helper.plist",
    "/Library/LaunchAgents/com.example.updater.plist",
    "/Library/LaunchDaemons/com.nimbrel.Quorvane.AntiVirus.plist",
    "/Library/Caches/com.nimbrel.Quorvane/Cache.db",
    "/Library/Caches/com.example.keep/Cache.db",
    "/Library/Logs/Quorvane.log",
    "/Library/Logs/Nubiloft/n.log",
    "/Library/Preferences/com.quorvane.Quorvane.plist",
    "/Library/Preferences/.3FAD0F65-FC6E-4889-B975-B96CBF807B78",
    "/private/tmp/Quorvane/x",
    "/private/tmp/com.quorvane.Quorvane.Installer.config",
    "/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom",
    "/private/var/db/receipts/com.quorvane.Quorvane.pkg.plist",
    "~/Library/Application Support/Quorvane Helper/h",
    "~/Library/Application Support/com.quorvane.Quorvane/s",
    "~/Library/LaunchAgents/com.vaultmere.Nubiloft.notify.plist",
    "~/Library/Caches/com.quorvane.Quorvane/c",
    "~/Library/Preferences/com.quorvane.Quorvane.Helper.plist",
    "~/Documents/Quorvane Backups/b",
    "~/Documents/notes.txt",
    "~/Downloads/Quorvane/d",
    "~/.Trash/old.txt",
};

// Each folder or item the program reads or deletes, replaced in turn by a link out of the root.
constexpr const char* kLinkedPlaces[] = {
    "/Applications",
    "/Applications/Quorvane.app",
    "/Applications/Quorvane.app/Contents",
    "/Library",
    "/Library/Application Support",
    "/Library/LaunchAgents",
    "/Library/LaunchDaemons",
    "/Library/Caches",
    "/Library/Caches/com.nimbrel.Quorvane",
    "/Library/Logs",
    "/Library/Logs/Quorvane.log",
    "/Library/Preferences",
    "/private",
    "/private/tmp",
    "/private/var",
    "/private/var/db/receipts",
    "/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom",
    "/Users",
    "~",
    "~/Library",
    "~/Library/Application Support",
    "~/Library/LaunchAgents",
    "~/Library/Caches",
    "~/Library/Caches/com.quorvane.Quorvane",
    "~/Documents",
    "~/Documents/Quorvane Backups",
    "~/Downloads",
    "~/.Trash",
};

std::string logical(std::string_view path) {
    return path.starts_with("~") ? "/Users/" + std::string(kUser) + std::string(path.substr(1))
                                 : std::string(path);
}

void writeTree(const std::string& hostBase) {
    for (const char* p : kTree) {
        fs::path file = hostBase + logical(p);
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << "content of " << p << '\n';
    }
}

enum class LinkStyle { Absolute, DotDot };

// Where a link at `place` inside the root leads on this machine: the same place in the sentinel,
// written absolute or as enough ".." to climb out of any root.
std::string linkTarget(const SentinelFolder& outside, const std::string& place, LinkStyle style) {
    if (style == LinkStyle::Absolute)
        return outside.path() + place;
    std::string up;
    for (int i = 0; i < 64; ++i)
        up += "../";
    return up + outside.path().substr(1) + place;
}

// A listed path leaks when one of its folders inside the root is a link: the program then
// reached it through a link. The listed item may itself be a link (it is removed as one).
void expectNoLeak(const MacFixture& mac, const SentinelFolder& outside,
                  const nlohmann::json& threats) {
    for (const auto& t : threats) {
        const std::string path = t["path"];
        EXPECT_EQ(path.find(outside.path()), std::string::npos) << path;
        for (auto slash = path.find('/', 1); slash != std::string::npos;
             slash = path.find('/', slash + 1)) {
            struct stat st {};
            std::string folder = mac.host(path.substr(0, slash));
            EXPECT_FALSE(::lstat(folder.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
                << path << " was listed through the link " << path.substr(0, slash);
        }
    }
}

struct Attack {
    std::string place;
    LinkStyle style;
};

void PrintTo(const Attack& a, std::ostream* os) {
    *os << a.place << (a.style == LinkStyle::Absolute ? " absolute" : " dotdot");
}

class LinkOutOfTheRoot : public testing::TestWithParam<Attack> {};

TEST_P(LinkOutOfTheRoot, LeavesTheOutsideUntouchedAndUnlisted) {
    MacFixture mac(kUser);
    SentinelFolder outside;
    writeTree(mac.root());
    writeTree(outside.path());
    const std::string place = logical(GetParam().place);
    fs::remove_all(mac.host(place));
    mac.link(place, linkTarget(outside, place, GetParam().style));
    const auto before = outside.snapshot();

    auto scan = runCli({"scan", "--root", mac.root(), "--user", kUser, "--json"});
    ASSERT_TRUE(scan.code == 0 || scan.code == 1) << scan.err;
    expectNoLeak(mac, outside, nlohmann::json::parse(scan.out)["threats"]);

    // As root the privileged deletion runs with the shell; elsewhere it would ask for a password.
    if (::geteuid() == 0) {
        auto remove = runCli({"remove", "--root", mac.root(), "--user", kUser, "--json", "--yes"});
        ASSERT_TRUE(remove.code == 0 || remove.code == 1) << remove.err;
        auto doc = nlohmann::json::parse(remove.out);
        EXPECT_FALSE(doc["threats"].empty());
        expectNoLeak(mac, outside, doc["threats"]);
    }
    EXPECT_EQ(outside.snapshot(), before);
}

std::vector<Attack> attacks() {
    std::vector<Attack> out;
    for (const char* place : kLinkedPlaces)
        for (auto style : {LinkStyle::Absolute, LinkStyle::DotDot})
            out.push_back({place, style});
    return out;
}

INSTANTIATE_TEST_SUITE_P(, LinkOutOfTheRoot, testing::ValuesIn(attacks()), [](const auto& info) {
    std::string name;
    for (char c : info.param.place)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name + (info.param.style == LinkStyle::Absolute ? "_absolute" : "_dotdot");
});

// Names the shell, the JSON output or a line-based reader could trip over. Each is a trace by
// its name, so the scan lists it and the removal deletes exactly it.
constexpr const char* kOddNames[] = {
    "Quorvane.app with blanks", "\"Quorvane.app\"",       "it's Quorvane.app",
    "Quorvane.app\nfake line",  "Quorvane.app;rm -rf ..", "$(touch pwned) Quorvane.app `id`",
    "Quorvane.app\xff\xfe",     "\xc3(Quorvane.app",
};

TEST(OddNames, AreListedAndRemovedExactly) {
    MacFixture mac(kUser);
    SentinelFolder outside;
    writeTree(outside.path());
    mac.file("/Applications/Keep me \"please\"\n\xff.txt", "keep");
    for (const char* name : kOddNames) {
        mac.file(std::string("/Applications/") + name + "/Contents/Info.plist");
        mac.file(std::string("/Library/LaunchAgents/") + name +
                 " com.nimbrel.Quorvane.Helper.plist");
    }
    // The same odd names as links into the outside folder.
    mac.link("/Library/LaunchAgents/\n'com.nimbrel.Quorvane.Helper.plist\"",
             outside.path() + "/Library/LaunchAgents/com.nimbrel.Quorvane.Helper.plist");
    mac.link("/Applications/ Quorvane.app\xff", outside.path() + "/Applications/Quorvane.app");
    const auto before = outside.snapshot();

    auto scan = runCli({"scan", "--root", mac.root(), "--user", kUser, "--json"});
    ASSERT_EQ(scan.code, 1) << scan.err;
    auto listed = nlohmann::json::parse(scan.out)["threats"];
    // Every odd application and agent; links that resolve to nothing inside the root are not.
    EXPECT_EQ(listed.size(), 2 * std::size(kOddNames)) << listed.dump(1);
    expectNoLeak(mac, outside, listed);

    if (::geteuid() == 0) {
        auto remove = runCli({"remove", "--root", mac.root(), "--user", kUser, "--json", "--yes"});
        ASSERT_EQ(remove.code, 0) << remove.out << remove.err;
        EXPECT_FALSE(fs::exists(mac.host("/pwned")));
        EXPECT_FALSE(fs::exists(mac.root() + "/../pwned"));
        std::set<std::string> left;
        for (auto& e : fs::directory_iterator(mac.host("/Applications")))
            left.insert(e.path().filename().string());
        EXPECT_EQ(left,
                  (std::set<std::string>{"Keep me \"please\"\n\xff.txt", " Quorvane.app\xff"}));
    }
    EXPECT_EQ(outside.snapshot(), before);
}

} // namespace
} // namespace sentravex
