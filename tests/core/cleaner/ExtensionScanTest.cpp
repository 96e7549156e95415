#include "cleaner/ExtensionScan.h"

#include "CountingFileSystem.h"
#include "Fixtures.h"
#include "MacFixture.h"
#include "cleaner/Cleaner.h"
#include "cleaner/JsonFile.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace sentravex {
namespace {

using test::CountingFileSystem;
using test::MacFixture;
using test::realFile;
using test::realFirefoxAddOn;

const std::string chromeDir = "/Library/Application Support/Google/Chrome";
const std::string profilesDir = "/Library/Application Support/Firefox/Profiles";

// Chrome with the real two-profile "Local State" ("Your Chromium" in Default, "Person 1").
void installChrome(MacFixture& mac) {
    mac.folder("/Applications/Google Chrome.app")
        .file(mac.home(chromeDir + "/Local State"), realFile("chrome/Local State"));
}

std::string versionFolder(MacFixture& mac, const std::string& profile, const std::string& id,
                          const std::string& version) {
    return mac.home(chromeDir + "/" + profile + "/Extensions/" + id + "/" + version);
}

TEST(MessageKey, DropsTheMarkersAndLowersKeysWithUnderscores) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"__MSG_appName__", "appName"},
        {"__MSG_APP_NAME__", "app_name"},
        {"__MSG_name__", "name"},
        {"__MSG_extName_v2__", "extname_v2"},
    };
    for (const auto& [placeholder, key] : cases)
        EXPECT_EQ(ExtensionScan::messageKey(placeholder), key) << placeholder;
}

TEST(ChromeExtensions, RealManifestsResolveTheirNames) {
    MacFixture mac;
    installChrome(mac);
    auto badger = versionFolder(mac, "Default", "pkehgijcmpdhfbdbbnkijodmdjhbjlgp", "2020.10.7_0");
    auto keepass = versionFolder(mac, "Profile 1", "oboonakemofpalcgghocfoadofidjkkk", "1.8.4_0");
    mac.file(badger + "/manifest.json", realFile("chrome/privacy-badger/manifest.json"))
        .file(badger + "/_locales/en_US/messages.json",
              realFile("chrome/privacy-badger/_locales/en_US/messages.json"))
        .fileOfSize(badger + "/js/background.js", 9000)
        .file(keepass + "/manifest.json", realFile("chrome/keepassxc-browser/manifest.json"));
    auto fs = mac.fileSystem();
    auto records = ExtensionScan::getChromeExtantionList(fs, mac.user());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].nameExt, "Privacy Badger");
    EXPECT_EQ(records[0].verExt, "2020.10.7");
    EXPECT_EQ(records[0].PersonExt, "Your Chromium");
    EXPECT_EQ(records[0].urlExt,
              mac.home(chromeDir + "/Default/Extensions/pkehgijcmpdhfbdbbnkijodmdjhbjlgp"));
    EXPECT_EQ(records[1].nameExt, "KeePassXC-Browser");
    EXPECT_EQ(records[1].PersonExt, "Person 1");
}

struct LocaleCase {
    const char* name;
    std::vector<std::string> locales; // each gets messages naming it
    const char* placeholder;
    const char* expected; // nullptr: no record
};

TEST(ChromeExtensions, NameResolutionCases) {
    const LocaleCase cases[] = {
        {"en before en_US", {"en_US", "en"}, "__MSG_appName__", "name in en"},
        {"only French: the first listed", {"fr"}, "__MSG_appName__", "name in fr"},
        {"en_GB before French", {"fr", "en_GB"}, "__MSG_appName__", "name in en_GB"},
        {"key with underscore is lowered", {"en"}, "__MSG_APP_NAME__", "lowered in en"},
        {"missing key keeps the placeholder", {"en"}, "__MSG_other__", "__MSG_other__"},
        {"empty _locales keeps the placeholder", {}, "__MSG_appName__", "__MSG_appName__"},
        {"plain name needs no lookup", {}, "Plain", "Plain"},
    };
    for (const auto& c : cases) {
        MacFixture mac;
        installChrome(mac);
        auto version = versionFolder(mac, "Default", "abcdefghijklmnop", "1.0_0");
        mac.file(version + "/manifest.json",
                 std::string(R"({"name":")") + c.placeholder + R"(","version":"1.0"})")
            .folder(version + "/_locales");
        for (const auto& l : c.locales)
            mac.file(version + "/_locales/" + l + "/messages.json",
                     R"({"appName":{"message":"name in )" + l +
                         R"("},"app_name":{"message":"lowered in )" + l + R"("}})");
        auto fs = mac.fileSystem();
        auto records = ExtensionScan::getChromeExtantionList(fs, mac.user());
        ASSERT_EQ(records.size(), 1u) << c.name;
        EXPECT_EQ(records[0].nameExt, c.expected) << c.name;
    }
}

TEST(ChromeExtensions, SkipsWhatCannotMakeARecord) {
    MacFixture mac;
    installChrome(mac);
    auto folder = [&](const std::string& id) { return versionFolder(mac, "Default", id, "1_0"); };
    mac.file(folder("nolocales") + "/manifest.json", R"({"name":"__MSG_x__","version":"1"})")
        .file(folder("noversion") + "/manifest.json", R"({"name":"N"})")
        .file(folder("nullname") + "/manifest.json", R"({"name":null,"version":"1"})")
        .file(folder("broken") + "/manifest.json", "{")
        .file(folder("array") + "/manifest.json", "[]")
        .file(folder("nomanifest") + "/other.js", "x")
        .folder(folder("emptyversion"))
        .file(folder("good") + "/manifest.json", R"({"name":"Good","version":"1"})");
    auto fs = mac.fileSystem();
    auto records = ExtensionScan::getChromeExtantionList(fs, mac.user());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].nameExt, "Good");
}

TEST(ChromeExtensions, TwoVersionFoldersGiveTwoRecordsOfOneFolder) {
    MacFixture mac;
    installChrome(mac);
    for (const char* v : {"1.0_0", "1.1_0"})
        mac.file(versionFolder(mac, "Default", "twice", v) + "/manifest.json",
                 std::string(R"({"name":"Twice","version":")") + v + "\"}");
    auto fs = mac.fileSystem();
    auto records = ExtensionScan::getChromeExtantionList(fs, mac.user());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].urlExt, records[1].urlExt);
    EXPECT_NE(records[0].verExt, records[1].verExt);
}

TEST(ChromeExtensions, MissingLocalStateGivesNoRecords) {
    MacFixture mac;
    mac.file(versionFolder(mac, "Default", "x", "1_0") + "/manifest.json",
             R"({"name":"X","version":"1"})");
    auto fs = mac.fileSystem();
    EXPECT_TRUE(ExtensionScan::getChromeExtantionList(fs, mac.user()).empty());
}

TEST(FirefoxExtensions, TheRealStoreListsNothingOutsideTheProfile) {
    // Written by Firefox ESR: built-in add-ons without a location and Debian's system add-ons
    // under /usr/share. None is the user's to delete.
    MacFixture mac;
    mac.file(mac.home(profilesDir + "/k3.default-esr/extensions.json"),
             realFile("firefox/extensions.json"))
        .file("/usr/share/webext/privacy-badger/manifest.json", "{}");
    auto fs = mac.fileSystem();
    EXPECT_TRUE(ExtensionScan::getFirefoxExtantionList(fs, mac.user()).empty());
}

TEST(FirefoxExtensions, ListsAddOnsInsideTheProfileByTheRealEntryFormat) {
    MacFixture mac;
    const std::string profile = mac.home(profilesDir + "/k3.default-esr");
    Json ublock = realFirefoxAddOn("uBlock0@raymondhill.net");
    ASSERT_FALSE(ublock.is_null());
    const std::string inside = profile + "/extensions/uBlock0@raymondhill.net.xpi";
    auto entry = [&](Json a, const Json& changes) {
        a.update(changes);
        return a;
    };
    Json addons = Json::array({
        entry(ublock, {{"path", inside}}),
        entry(ublock, {{"path", "/"}}),
        entry(ublock, {{"path", mac.home(profilesDir)}}),
        entry(ublock, {{"path", profile}}),
        entry(ublock, {{"path", profile + "/../../../../../Documents"}}),
        entry(ublock, {{"path", profile + "/./extensions/x.xpi"}}),
        entry(ublock, {{"path", "extensions/relative.xpi"}}),
        entry(ublock, {{"path", nullptr}}),
        entry(ublock, {{"path", inside}, {"version", nullptr}}),
        entry(ublock, {{"path", inside}, {"defaultLocale", {{"name", "Default"}}}}),
        entry(ublock, {{"path", "/elsewhere"}, {"descriptor", inside}, {"version", "2.0"}}),
    });
    mac.file(profile + "/extensions.json", Json{{"schemaVersion", 37}, {"addons", addons}}.dump())
        .fileOfSize(inside, 5000)
        .file(mac.home("/Documents/thesis.tex"), "keep");
    auto fs = mac.fileSystem();
    auto records = ExtensionScan::getFirefoxExtantionList(fs, mac.user());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].urlExt, inside);
    EXPECT_EQ(records[0].nameExt, "uBlock Origin");
    EXPECT_EQ(records[0].verExt, "1.67.0");
    EXPECT_EQ(records[0].PersonExt, "Default");
    EXPECT_EQ(records[1].urlExt, inside);
    EXPECT_EQ(records[1].verExt, "2.0");
}

// Extension rows show no size: many add-on entries over one large folder walk nothing.
TEST(ExtensionRecords, NothingIsSized) {
    MacFixture mac;
    installChrome(mac);
    mac.folder("/Applications/Firefox.app")
        .file(versionFolder(mac, "Default", "big", "1_0") + "/manifest.json",
              R"({"name":"Big","version":"1"})");
    const std::string profile = mac.home(profilesDir + "/k3.default-esr");
    const std::string addon = profile + "/extensions/big@example";
    for (int i = 0; i < 20; ++i)
        mac.file(addon + "/f" + std::to_string(i), "x");
    Json addons = Json::array();
    for (int i = 0; i < 100; ++i)
        addons.push_back({{"path", addon},
                          {"version", std::to_string(i)},
                          {"defaultLocale", {{"name", "Big"}}}});
    mac.file(profile + "/extensions.json", Json{{"addons", addons}}.dump());
    const auto local = mac.fileSystem();
    CountingFileSystem fs(local);

    EXPECT_EQ(ExtensionScan::getChromeExtantionList(fs, mac.user()).size(), 1u);
    EXPECT_EQ(ExtensionScan::getFirefoxExtantionList(fs, mac.user()).size(), 100u);
    const auto category = Cleaner(fs, mac.user()).addBrowserExtensionsDetails();
    EXPECT_EQ(category.List.size(), 1u + 1u + 1u + 100u + 1u); // two groups and the reset row
    EXPECT_EQ(fs.sizings, 0);
}

TEST(SafariExtensions, ListsTheFolderUnfiltered) {
    MacFixture mac;
    const std::string folder = mac.home("/Library/Safari/Extensions");
    mac.file(folder + "/Extensions.plist")
        .file(folder + "/.DS_Store")
        .file(folder + "/A.safariextz");
    auto fs = mac.fileSystem();
    auto list = ExtensionScan::getSafariExtantionList(fs, mac.user());
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list, (std::vector<std::string>{folder + "/.DS_Store", folder + "/A.safariextz",
                                              folder + "/Extensions.plist"}));
}

std::vector<std::pair<std::string, bool>> rows(const CleanerCategory& c) {
    std::vector<std::pair<std::string, bool>> out;
    for (const auto& i : c.List)
        out.emplace_back(i.NameText, i.isHeader);
    return out;
}

TEST(BrowserExtensionsDetails, GroupsUnderHeadingsThenTheResetRow) {
    MacFixture mac;
    installChrome(mac);
    const std::string safari = mac.home("/Library/Safari/Extensions");
    const std::string profile = mac.home(profilesDir + "/k3.default-esr");
    mac.folder("/Applications/Safari.app")
        .folder("/Applications/Firefox.app")
        .file(safari + "/Extensions.plist")
        .file(safari + "/.DS_Store")
        .file(safari + "/Ghostery Lite.safariextz", "x")
        .file(versionFolder(mac, "Profile 1", "kp", "1_0") + "/manifest.json",
              R"({"name":"KeePassXC-Browser","version":"1.8.4"})")
        .file(profile + "/extensions/a.xpi", "a")
        .file(profile + "/extensions.json",
              Json{{"addons", Json::array({{{"version", "1.67.0"},
                                            {"defaultLocale", {{"name", "uBlock Origin"}}},
                                            {"path", profile + "/extensions/a.xpi"}},
                                           {{"version", "1"},
                                            {"defaultLocale", {{"name", "Gone"}}},
                                            {"path", profile + "/extensions/gone.xpi"}}})}}
                  .dump());
    auto fs = mac.fileSystem();
    auto category = Cleaner(fs, mac.user()).addBrowserExtensionsDetails();
    EXPECT_EQ(category.Name, "Browser Extensions");
    EXPECT_TRUE(category.isFromAdware);
    EXPECT_TRUE(category.isEnabled);
    EXPECT_EQ(category.Size, "");
    EXPECT_EQ(category.Img, "Browser_ext");
    EXPECT_EQ(rows(category), (std::vector<std::pair<std::string, bool>>{
                                  {"Safari Extensions", false},
                                  {"Ghostery Lite", true},
                                  {"Google Chrome Extensions", false},
                                  {"KeePassXC-Browser v1.8.4 (Person 1)", true},
                                  {"Firefox Extensions", false},
                                  {"uBlock Origin v1.67.0", true},
                                  {"Reset Browsers Preferences to Defaults", false},
                              }));
    for (const auto& row : category.List) {
        EXPECT_EQ(row.isEnabled, true) << row.NameText;
        EXPECT_EQ(row.sizeText, "") << row.NameText;
        EXPECT_TRUE(row.isExt) << row.NameText;
        EXPECT_FALSE(row.bytes) << row.NameText;
    }
    EXPECT_EQ(category.List.back().AllList,
              (std::vector<std::string>{
                  mac.home("/Library/Safari/Configurations.plist.signed"),
                  mac.home(chromeDir + "/Default/Preferences"),
                  mac.home(chromeDir + "/Profile 1/Preferences"),
                  profile + "/user.js",
                  profile + "/xulstore.json",
                  profile + "/prefs.js",
              }));
}

TEST(BrowserExtensionsDetails, NoBrowserLeavesOnlyTheEmptyResetRow) {
    MacFixture mac;
    mac.file(mac.home("/Library/Safari/Extensions/A.safariextz"));
    auto fs = mac.fileSystem();
    auto category = Cleaner(fs, mac.user()).addBrowserExtensionsDetails();
    ASSERT_EQ(category.List.size(), 1u);
    EXPECT_TRUE(category.List[0].AllList.empty());
    EXPECT_EQ(category.List[0].isEnabled, true);
}

} // namespace
} // namespace sentravex
