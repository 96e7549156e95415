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

constexpr const char* kChrome = "~/Library/Application Support/Google/Chrome";
constexpr const char* kFirefoxProfile = "~/Library/Application Support/Firefox/Profiles/x.default";

struct TreeFile {
    std::string path;         // "~" stands for the home folder
    std::string content = {}; // "@OUT@" stands for the outside folder; empty: a line naming it
};

// A trace at every place the scan reads or the removal deletes, the browsers' and other
// applications' private data the cleaner lists, and some of the user's own files.
const TreeFile kTree[] = {
    {"/Applications/Quorvane.app/Contents/Info.plist"},
    {"/Applications/Quorvane.app/Contents/MacOS/Quorvane"},
    {"/Applications/Nubiloft.app/Contents/Info.plist"},
    {"/Applications/Calculator.app/Contents/Info.plist"},
    {"/Library/Application Support/Quorvane/engine.db"},
    {"/Library/LaunchAgents/com.nimbrel.Quorvane.Helper.plist"},
    {"/Library/LaunchAgents/com.example.updater.plist"},
    {"/Library/LaunchDaemons/com.nimbrel.Quorvane.AntiVirus.plist"},
    {"/Library/Caches/com.nimbrel.Quorvane/Cache.db"},
    {"/Library/Caches/com.example.keep/Cache.db"},
    {"/Library/Logs/Quorvane.log"},
    {"/Library/Logs/Nubiloft/n.log"},
    {"/Library/Preferences/com.quorvane.Quorvane.plist"},
    {"/Library/Preferences/.3FAD0F65-FC6E-4889-B975-B96CBF807B78"},
    {"/private/tmp/Quorvane/x"},
    {"/private/tmp/com.quorvane.Quorvane.Installer.config"},
    {"/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom"},
    {"/private/var/db/receipts/com.quorvane.Quorvane.pkg.plist"},
    {"~/Library/Application Support/Quorvane Helper/h"},
    {"~/Library/Application Support/com.quorvane.Quorvane/s"},
    {"~/Library/LaunchAgents/com.vaultmere.Nubiloft.notify.plist"},
    {"~/Library/Caches/com.quorvane.Quorvane/c"},
    {"~/Library/Preferences/com.quorvane.Quorvane.Helper.plist"},
    {"~/Documents/Quorvane Backups/b"},
    {"~/Documents/notes.txt"},
    {"~/Downloads/Quorvane/d"},
    {"~/.Trash/old.txt"},
    {"/Applications/Safari.app/Contents/Info.plist"},
    {"/Applications/Google Chrome.app/Contents/Info.plist"},
    {"/Applications/Firefox.app/Contents/Info.plist"},
    {"/Applications/Mail.app/Contents/Info.plist"},
    {"/Applications/Utilities/Adobe Flash Player Install Manager.app/Contents/Info.plist"},
    {"/System/Library/CoreServices/Finder.app/Contents/Info.plist"},
    {"~/Library/Safari/History.db"},
    {"~/Library/Safari/Extensions/A.safariextz"},
    {"~/Library/Cookies/Cookies.binarycookies"},
    {"~/Library/Caches/com.apple.Safari/c"},
    // Profiles named "..", through the outside folder and with a slash are never paths.
    {std::string(kChrome) + "/Local State",
     R"({"profile":{"info_cache":{"Default":{"name":"Person 1"},"..":{"name":"Up"},)"
     R"("../../../../../../../..@OUT@":{"name":"Out"},"a/b":{"name":"Slash"}}}})"},
    {std::string(kChrome) + "/Default/Cookies"},
    {std::string(kChrome) + "/Default/History"},
    {std::string(kChrome) + "/Default/GPUCache/g"},
    {std::string(kChrome) + "/Default/Extensions/abcdefghijklmnop/1.0_0/manifest.json",
     R"({"name":"__MSG_appName__","version":"1.0"})"},
    {std::string(kChrome) + "/Default/Extensions/abcdefghijklmnop/1.0_0/_locales/en/messages.json",
     R"({"appName":{"message":"Tabber"}})"},
    {"~/Library/Caches/Google/Chrome/Default/Cache/data"},
    {std::string(kFirefoxProfile) + "/cookies.sqlite"},
    {std::string(kFirefoxProfile) + "/prefs.js"},
    {std::string(kFirefoxProfile) + "/sessionstore-backups/s"},
    // Add-ons at the disk's root, outside the root, climbing out of the profile, and one inside.
    {std::string(kFirefoxProfile) + "/extensions.json",
     R"({"addons":[)"
     R"({"path":"/","version":"1","defaultLocale":{"name":"Root"}},)"
     R"({"path":"@OUT@","version":"1","defaultLocale":{"name":"Outside"}},)"
     R"({"descriptor":"/Users/alice/Library/Application Support/Firefox/Profiles/x.default/)"
     R"(../../../../../../..@OUT@","version":"1","defaultLocale":{"name":"Climb"}},)"
     R"({"path":"/Users/alice/Library/Application Support/Firefox/Profiles/x.default/)"
     R"(extensions/addon@example.xpi","version":"1","defaultLocale":{"name":"Inside"}}]})"},
    {std::string(kFirefoxProfile) + "/extensions/addon@example.xpi"},
    {"~/Library/Caches/Firefox/c"},
    // A profiles.ini naming the outside folder, as it is and climbing out of the profiles folder.
    {"~/Library/Application Support/Firefox/profiles.ini",
     "[Install1]\nDefault=@OUT@\n[Profile0]\nIsRelative=1\nPath=Profiles/../../../../../../../.."
     "@OUT@\nDefault=1\n"},
    {"~/Library/Containers/com.apple.Safari/Data/Library/Cookies/Cookies.binarycookies"},
    {"/System/Applications/Mail.app/Contents/Info.plist"},
    {"~/Library/Containers/com.apple.mail/Data/Library/Mail Downloads/m"},
    {"~/Library/Preferences/Macromedia/Flash Player/f"},
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
    "/Applications/Safari.app",
    "/Applications/Firefox.app",
    "~/Library/Safari",
    "~/Library/Cookies",
    "~/Library/Application Support/Google",
    "~/Library/Application Support/Google/Chrome",
    "~/Library/Application Support/Google/Chrome/Local State",
    "~/Library/Application Support/Google/Chrome/Default",
    "~/Library/Application Support/Google/Chrome/Default/Cookies",
    "~/Library/Application Support/Google/Chrome/Default/Extensions",
    "~/Library/Application Support/Google/Chrome/Default/Extensions/abcdefghijklmnop",
    "~/Library/Application Support/Google/Chrome/Default/Extensions/abcdefghijklmnop/1.0_0",
    ("~/Library/Application Support/Google/Chrome/Default/Extensions/abcdefghijklmnop/1.0_0/"
     "_locales"),
    "~/Library/Caches/Google/Chrome",
    "~/Library/Application Support/Firefox",
    "~/Library/Application Support/Firefox/Profiles",
    "~/Library/Application Support/Firefox/Profiles/x.default",
    "~/Library/Application Support/Firefox/Profiles/x.default/extensions.json",
    "~/Library/Application Support/Firefox/Profiles/x.default/extensions",
    "~/Library/Containers/com.apple.mail",
    "~/Library/Containers/com.apple.Safari",
    "~/Library/Application Support/Firefox/profiles.ini",
    "/System/Applications/Mail.app",
    "~/Library/Preferences/Macromedia",
};

std::string logical(std::string_view path) {
    return path.starts_with("~") ? "/Users/" + std::string(kUser) + std::string(path.substr(1))
                                 : std::string(path);
}

void writeTree(const std::string& hostBase, const SentinelFolder& outside) {
    for (const auto& [path, content] : kTree) {
        fs::path file = hostBase + logical(path);
        fs::create_directories(file.parent_path());
        std::string text = content.empty() ? "content of " + path + "\n" : content;
        for (auto at = text.find("@OUT@"); at != std::string::npos; at = text.find("@OUT@"))
            text.replace(at, 5, outside.path());
        std::ofstream(file, std::ios::binary) << text;
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

// Whether one of the path's folders inside the root is a link: the program reached the path
// through a link. The path's last component may itself be a link (it is removed as one).
bool throughLink(const MacFixture& mac, const std::string& path) {
    for (auto slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        struct stat st {};
        if (::lstat(mac.host(path.substr(0, slash)).c_str(), &st) == 0 && S_ISLNK(st.st_mode))
            return true;
    }
    return false;
}

// A listed path leaks when it was reached through a link.
void expectNoLeak(const MacFixture& mac, const SentinelFolder& outside,
                  const std::vector<std::string>& listed) {
    for (const auto& path : listed) {
        EXPECT_EQ(path.find(outside.path()), std::string::npos) << path;
        EXPECT_FALSE(throughLink(mac, path)) << path << " was reached through a link";
    }
}

std::vector<std::string> threatPaths(const std::string& out) {
    std::vector<std::string> paths;
    const auto doc = nlohmann::json::parse(out);
    for (const auto& t : doc["threats"])
        paths.push_back(t["path"]);
    return paths;
}

// The cleaner lists each item's fixed places whether or not anything is there. An item all of
// whose places lie behind a link must come out empty and unchecked, and no extension of the tree
// may be found there: either would have been read through the link.
void expectNoLeakInListing(const MacFixture& mac, const SentinelFolder& outside,
                           const nlohmann::json& doc) {
    for (const auto& c : doc["categories"])
        for (const auto& i : c["items"]) {
            bool behindLinks = !i["paths"].empty();
            for (const std::string p : i["paths"]) {
                EXPECT_EQ(p.find(outside.path()), std::string::npos) << p;
                behindLinks = behindLinks && throughLink(mac, p);
            }
            if (!behindLinks)
                continue;
            const std::string name = i["name"];
            EXPECT_FALSE(name.starts_with("Tabber") || name.starts_with("Inside")) << i.dump();
            if (i["bytes"].is_number()) {
                EXPECT_EQ(i["bytes"], 0) << i.dump();
                EXPECT_EQ(i["enabled"], false) << i.dump();
            }
        }
}

// What a clean deleted or failed to delete.
std::vector<std::string> cleanedPaths(const nlohmann::json& doc) {
    std::vector<std::string> paths = doc["deleted"];
    for (const auto& f : doc["failed"])
        paths.push_back(f["path"]);
    return paths;
}

// The cleaner's listing, then every category it lists selected and deleted.
void cleanEverything(const MacFixture& mac, const SentinelFolder& outside) {
    std::vector<std::string> args{"clean", "--root", mac.root(), "--user", kUser, "--json"};
    auto listing = runCli(args);
    ASSERT_EQ(listing.code, 0) << listing.err;
    auto doc = nlohmann::json::parse(listing.out);
    expectNoLeakInListing(mac, outside, doc);
    for (const auto& c : doc["categories"]) {
        args.push_back("--select");
        args.push_back(c["name"]);
    }
    if (doc["categories"].empty())
        return;
    args.push_back("--apply");
    auto clean = runCli(args);
    ASSERT_TRUE(clean.code == 0 || clean.code == 1) << clean.out << clean.err;
    expectNoLeak(mac, outside, cleanedPaths(nlohmann::json::parse(clean.out)));
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
    writeTree(mac.root(), outside);
    writeTree(outside.path(), outside);
    const std::string place = logical(GetParam().place);
    fs::remove_all(mac.host(place));
    mac.link(place, linkTarget(outside, place, GetParam().style));
    const auto before = outside.snapshot();

    // A home linked out of the root is no home in it: every command refuses, reading nothing.
    if (place == "/Users" || place == logical("~")) {
        const auto refused =
            "sentravex-cli: no home folder " + logical("~") + " under " + mac.root() + "\n";
        for (std::vector<std::string> args : {std::vector<std::string>{"scan"},
                                              {"remove", "--yes"},
                                              {"clean", "--select", "Safari", "--apply"}}) {
            args.insert(args.end(), {"--root", mac.root(), "--user", kUser});
            const auto r = runCli(args);
            EXPECT_EQ(r.code, 2) << args.front();
            EXPECT_EQ(r.err, refused) << args.front();
        }
        EXPECT_EQ(outside.snapshot(), before);
        return;
    }

    auto scan = runCli({"scan", "--root", mac.root(), "--user", kUser, "--json"});
    ASSERT_TRUE(scan.code == 0 || scan.code == 1) << scan.err;
    expectNoLeak(mac, outside, threatPaths(scan.out));

    // As root the privileged deletion runs with the shell; elsewhere it would ask for a password.
    if (::geteuid() == 0) {
        auto remove = runCli({"remove", "--root", mac.root(), "--user", kUser, "--json", "--yes"});
        ASSERT_TRUE(remove.code == 0 || remove.code == 1) << remove.err;
        EXPECT_FALSE(threatPaths(remove.out).empty());
        expectNoLeak(mac, outside, threatPaths(remove.out));
    }
    cleanEverything(mac, outside);
    EXPECT_EQ(outside.snapshot(), before);
}

std::vector<Attack> attacks() {
    std::vector<Attack> out;
    for (const char* place : kLinkedPlaces)
        for (auto style : {LinkStyle::Absolute, LinkStyle::DotDot})
            out.push_back({place, style});
    return out;
}

INSTANTIATE_TEST_SUITE_P(, LinkOutOfTheRoot, testing::ValuesIn(attacks()), [](const auto& test) {
    std::string name;
    for (char c : test.param.place)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name + (test.param.style == LinkStyle::Absolute ? "_absolute" : "_dotdot");
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
    writeTree(outside.path(), outside);
    mac.folder(mac.home()).file("/Applications/Keep me \"please\"\n\xff.txt", "keep");
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
    auto listed = threatPaths(scan.out);
    // Every odd application and agent; links that resolve to nothing inside the root are not.
    EXPECT_EQ(listed.size(), 2 * std::size(kOddNames)) << testing::PrintToString(listed);
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
