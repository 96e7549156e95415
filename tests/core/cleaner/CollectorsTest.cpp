#include "FaultyFileSystem.h"
#include "Fixtures.h"
#include "MacFixture.h"
#include "cleaner/Cleaner.h"
#include "cleaner/FirefoxProfiles.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace sentravex {
namespace {

using test::MacFixture;
using test::realFile;

const std::string chromeDir = "/Library/Application Support/Google/Chrome";

std::vector<std::string> names(const CleanerCategory& c) {
    std::vector<std::string> out;
    for (const auto& i : c.List)
        out.push_back(i.NameText);
    return out;
}

std::vector<std::string> categoryNames(const std::vector<CleanerCategory>& list) {
    std::vector<std::string> out;
    for (const auto& c : list)
        out.push_back(c.Name);
    return out;
}

TEST(SafariDetails, ThirteenItemsInOrderWhateverExists) {
    MacFixture mac;
    auto fs = mac.fileSystem();
    Cleaner cleaner(fs, mac.user());
    EXPECT_FALSE(cleaner.addSafariDetails());

    mac.folder("/Applications/Safari.app").file(mac.home("/Library/Safari/History.db"), "h");
    auto safari = cleaner.addSafariDetails();
    ASSERT_TRUE(safari);
    EXPECT_EQ(names(*safari),
              (std::vector<std::string>{"Cookies", "Browser Caches", "History", "Downloads",
                                        "LastSession", "User preferences", "Favicons", "TopSites",
                                        "Local Storage", "Reading List", "Form", "Recent Search",
                                        "WebFeeds"}));
    EXPECT_EQ(safari->List[0].AllList,
              (std::vector<std::string>{
                  mac.home("/Library/Cookies/com.apple.Safari.SafeBrowsing.binarycookies"),
                  mac.home("/Library/Cookies/Cookies.binarycookies"),
                  mac.home("/Library/Containers/com.apple.Safari/Data/Library/Cookies/"
                           "Cookies.binarycookies")}));
    EXPECT_EQ(safari->List[2].AllList,
              (std::vector<std::string>{mac.home("/Library/Safari/History.db"),
                                        mac.home("/Library/Safari/HistoryIndex.sk"),
                                        mac.home("/Library/Safari/History.db-wal")}));
    EXPECT_EQ(safari->List[2].isEnabled, true);
    EXPECT_EQ(safari->List[3].isEnabled, false);
    EXPECT_TRUE(safari->isEnabled);
    EXPECT_EQ(safari->Img, "/Applications/Safari.app");
}

// Safari 13 and later keep cookies, caches and website data in their container: each of those
// rows keeps its old places and adds the container's, which alone hold data on such a Mac.
TEST(SafariDetails, RowsAlsoCoverTheStoresInSafarisContainer) {
    const std::string container = "/Library/Containers/com.apple.Safari/Data/Library";
    struct Row {
        std::size_t index;
        const char* name;
        std::vector<std::string> paths; // under the home folder
    };
    const Row rows[] = {
        {0,
         "Cookies",
         {"/Library/Cookies/com.apple.Safari.SafeBrowsing.binarycookies",
          "/Library/Cookies/Cookies.binarycookies", container + "/Cookies/Cookies.binarycookies"}},
        {1,
         "Browser Caches",
         {"/Library/Caches/com.apple.Safari", container + "/Caches/com.apple.Safari"}},
        {8,
         "Local Storage",
         {"/Library/Safari/LocalStorage", "/Library/Safari/Databases",
          container + "/WebKit/WebsiteData/LocalStorage",
          container + "/WebKit/WebsiteData/IndexedDB"}},
    };
    MacFixture mac;
    mac.folder("/Applications/Safari.app");
    for (const auto& row : rows)
        mac.file(mac.home(row.paths.back() + (row.index == 0 ? "" : "/data")), "stored");
    auto fs = mac.fileSystem();
    auto safari = Cleaner(fs, mac.user()).addSafariDetails();
    ASSERT_TRUE(safari);
    ASSERT_EQ(safari->List.size(), 13u);
    for (const auto& row : rows) {
        const auto& item = safari->List[row.index];
        EXPECT_EQ(item.NameText, row.name);
        std::vector<std::string> expected;
        for (const auto& p : row.paths)
            expected.push_back(mac.home(p));
        EXPECT_EQ(item.AllList, expected) << row.name;
        EXPECT_TRUE(item.isEnabled) << row.name << ": the container's data is sized";
    }
    EXPECT_EQ(safari->List[2].AllList.size(), 3u) << "History stays in the Safari folder";
}

TEST(ChromeDetails, RealLocalStateGivesNineItemsPerProfileThenTheCaches) {
    MacFixture mac;
    mac.folder("/Applications/Google Chrome.app")
        .file(mac.home(chromeDir + "/Local State"), realFile("chrome/Local State"));
    auto fs = mac.fileSystem();
    auto chrome = Cleaner(fs, mac.user()).addGoogleChromeDetails();
    ASSERT_TRUE(chrome);
    ASSERT_EQ(chrome->List.size(), 19u);
    EXPECT_EQ(chrome->List[0].NameText, "Cookies (Your Chromium)");
    EXPECT_EQ(chrome->List[8].NameText, "Local Storage (Your Chromium)");
    EXPECT_EQ(chrome->List[9].NameText, "Cookies (Person 1)");
    EXPECT_EQ(chrome->List[9].AllList,
              (std::vector<std::string>{mac.home(chromeDir + "/Profile 1/Cookies"),
                                        mac.home(chromeDir + "/Profile 1/Cookies-journal")}));
    EXPECT_EQ(chrome->List[18].NameText, "Browser Caches");
    EXPECT_EQ(chrome->List[18].AllList,
              (std::vector<std::string>{mac.home(chromeDir + "/Default/Application Cache"),
                                        mac.home(chromeDir + "/Default/GPUCache"),
                                        mac.home(chromeDir + "/Profile 1/Application Cache"),
                                        mac.home(chromeDir + "/Profile 1/GPUCache"),
                                        mac.home("/Library/Caches/Google/Chrome")}));
}

struct LocalStateCase {
    const char* name;
    const char* content; // nullptr: no file
    std::optional<std::vector<std::string>> items;
};

TEST(ChromeDetails, ProfileCacheRules) {
    const LocalStateCase cases[] = {
        {"missing file drops the category", nullptr, std::nullopt},
        {"not JSON leaves the caches", "{not json", std::vector<std::string>{"Browser Caches"}},
        {"wrong shape leaves the caches", R"({"profile":{"info_cache":[1]}})",
         std::vector<std::string>{"Browser Caches"}},
        {"member order of the file, not sorted",
         R"({"profile":{"info_cache":{"Profile 2":{"name":"Work"},"Default":{"name":"Me"}}}})",
         std::vector<std::string>{"Cookies (Work)", "Cookies (Me)", "Browser Caches"}},
        {"unsafe folder names are skipped; no name uses the folder",
         R"({"profile":{"info_cache":{"..":{"name":"Up"},"a/b":{"name":"Slash"},"":{"name":"E"},
             ".":{"name":"Dot"},"Profile 3":{"name":null}}}})",
         std::vector<std::string>{"Cookies (Profile 3)", "Browser Caches"}},
    };
    for (const auto& c : cases) {
        MacFixture mac;
        mac.folder("/Applications/Google Chrome.app");
        if (c.content)
            mac.file(mac.home(chromeDir + "/Local State"), c.content);
        auto fs = mac.fileSystem();
        auto chrome = Cleaner(fs, mac.user()).addGoogleChromeDetails();
        ASSERT_EQ(chrome.has_value(), c.items.has_value()) << c.name;
        if (!chrome)
            continue;
        std::vector<std::string> cookiesAndCaches;
        for (const auto& n : names(*chrome))
            if (n.starts_with("Cookies") || n == "Browser Caches")
                cookiesAndCaches.push_back(n);
        EXPECT_EQ(cookiesAndCaches, *c.items) << c.name;
        for (const auto& item : chrome->List)
            for (const auto& p : item.AllList) {
                EXPECT_TRUE(p.starts_with(mac.home("/Library/"))) << c.name << ": " << p;
                for (const char* bad : {"/../", "/./", "//", "/a/b/"})
                    EXPECT_EQ(p.find(bad), std::string::npos) << c.name << ": " << p;
            }
    }
}

TEST(ChromeDetails, AnUnreadableProfileCacheDropsTheCategory) {
    MacFixture mac;
    mac.folder("/Applications/Google Chrome.app")
        .file(mac.home(chromeDir + "/Local State"), realFile("chrome/Local State"));
    auto local = mac.fileSystem();
    test::FaultyFileSystem fs(local);
    fs.unopenable.insert(mac.home(chromeDir + "/Local State"));
    Cleaner cleaner(fs, mac.user());
    EXPECT_FALSE(cleaner.addGoogleChromeDetails());
    EXPECT_EQ(cleaner.addBrowserExtensionsDetails().List.size(), 1u);
}

struct FirefoxCase {
    std::vector<std::string> profiles;
    std::optional<std::string> chosen;
};

TEST(FirefoxDetails, ChoosesTheFirstProfileNamedDefault) {
    const FirefoxCase cases[] = {
        {{}, std::nullopt},
        {{"abc.Default"}, std::nullopt},
        {{"abc.default-release"}, "abc.default-release"},
        {{"x.work", "y.default"}, "y.default"},
    };
    for (const auto& c : cases) {
        MacFixture mac;
        mac.folder("/Applications/Firefox.app");
        const std::string profiles = mac.home("/Library/Application Support/Firefox/Profiles");
        for (const auto& p : c.profiles)
            mac.folder(profiles + "/" + p);
        auto fs = mac.fileSystem();
        auto firefox = Cleaner(fs, mac.user()).addMozilaFirefoxDetails();
        ASSERT_TRUE(firefox);
        if (!c.chosen) {
            EXPECT_TRUE(firefox->List.empty());
            EXPECT_EQ(firefox->Size, "0 byte");
            EXPECT_FALSE(firefox->isEnabled);
            continue;
        }
        EXPECT_EQ(names(*firefox), (std::vector<std::string>{
                                       "Cookies", "Browser Caches", "Login Data", "LastSession",
                                       "User preferences", "Local Storage", "Crash Reports"}));
        EXPECT_EQ(firefox->List[0].AllList[0], profiles + "/" + *c.chosen + "/cookies.sqlite");
        EXPECT_EQ(firefox->List[6].AllList[0],
                  mac.home("/Library/Application Support/Firefox/Crash Reports"));
    }
}

TEST(FirefoxDetails, TwoDefaultProfilesUseOnlyTheOneListedFirst) {
    MacFixture mac;
    mac.folder("/Applications/Firefox.app");
    const std::string profiles = mac.home("/Library/Application Support/Firefox/Profiles");
    mac.folder(profiles + "/a.default").folder(profiles + "/b.default");
    auto fs = mac.fileSystem();
    Cleaner cleaner(fs, mac.user());
    auto first = fs.listFolder(profiles).front();
    EXPECT_EQ(cleaner.chosenFirefoxProfile(), first);
    EXPECT_EQ(cleaner.addMozilaFirefoxDetails()->List[0].AllList[0], first + "/cookies.sqlite");
}

struct ProfilesIniCase {
    const char* what;
    std::vector<std::string> profiles; // folders made in the profiles folder
    std::string profilesIni;           // empty: no file
    std::string installsIni;           // empty: no file
    std::optional<std::string> chosen; // under the profiles folder
};

// Firefox starts with the profile its install section names, else the one marked Default=1;
// whatever the files say, only a folder directly inside the profiles folder is taken, and
// without one the first folder named "default" is.
TEST(FirefoxDetails, TheProfileFirefoxUsesAsProfilesIniNamesIt) {
    const std::string unused = "abcd.default";
    const std::string real = "wxyz.default-release";
    const std::string other = "wxyz.work";
    const std::string both = "[Profile1]\nName=default\nIsRelative=1\nPath=Profiles/" + unused +
                             "\nDefault=1\n\n[Profile0]\nName=default-release\nIsRelative=1\n"
                             "Path=Profiles/" +
                             real + "\n\n";
    const std::string install =
        "[Install4F96D1932A9F858E]\nDefault=Profiles/" + real + "\nLocked=1\n\n";
    const std::string absolute =
        "/Users/alice/Library/Application Support/Firefox/Profiles/" + real;
    const ProfilesIniCase cases[] = {
        {"the install section's profile, not the Default=1 one",
         {unused, real},
         both + install,
         "",
         real},
        {"installs.ini names it", {unused, real}, both, install, real},
        {"the install section with CRLF line ends",
         {unused, real},
         "[Install1]\r\nDefault=Profiles/" + real + "\r\n",
         "",
         real},
        {"no install section: Default=1", {unused, real}, both, "", unused},
        {"an absolute path inside the profiles folder",
         {unused, real},
         "[Profile0]\nIsRelative=0\nPath=" + absolute + "\nDefault=1\n",
         "",
         real},
        {"the named folder is missing: the rule of the name",
         {unused},
         "[Install1]\nDefault=Profiles/" + real + "\n",
         "",
         unused},
        // Below, the folder named is there but must not be taken; the other is found by name.
        {"a path that climbs out is not taken",
         {unused, other},
         "[Install1]\nDefault=Profiles/../../../../../..\n[Profile0]\nIsRelative=1\n"
         "Path=Profiles/" +
             other + "/../" + other + "\nDefault=1\n",
         "",
         unused},
        {"a path outside the profiles folder is not taken",
         {unused, other},
         "[Profile0]\nIsRelative=0\nPath=/Users/alice/Documents\nDefault=1\n",
         "",
         unused},
        {"a relative path read as absolute is not taken",
         {unused, other},
         "[Profile0]\nIsRelative=0\nPath=Profiles/" + other + "\nDefault=1\n",
         "",
         unused},
        {"the profiles folder itself is no profile",
         {unused, other},
         "[Install1]\nDefault=Profiles/\n[Install2]\nDefault=Profiles/.\n",
         "",
         unused},
        {"a NUL in the path",
         {unused, other},
         std::string("[Install1]\nDefault=Profiles/") + other + std::string(1, '\0') + "\n",
         "",
         unused},
        {"keys outside any section, lines without =",
         {unused, other},
         "Default=Profiles/" + other + "\n[Install1]\nnonsense\n",
         "",
         unused},
        {"larger than any real profiles.ini: not read",
         {unused, other},
         "[Install1]\nDefault=Profiles/" + other + "\n" + std::string(65 * 1024, '#'),
         "",
         unused},
        {"no profiles.ini, no default-named folder", {"x.work"}, "", "", std::nullopt},
    };
    for (const auto& c : cases) {
        MacFixture mac;
        mac.folder("/Applications/Firefox.app");
        const std::string firefox = mac.home("/Library/Application Support/Firefox");
        for (const auto& p : c.profiles)
            mac.folder(firefox + "/Profiles/" + p);
        if (!c.profilesIni.empty())
            mac.file(firefox + "/profiles.ini", c.profilesIni);
        if (!c.installsIni.empty())
            mac.file(firefox + "/installs.ini", c.installsIni);
        auto fs = mac.fileSystem();
        Cleaner cleaner(fs, mac.user());
        const auto chosen = cleaner.chosenFirefoxProfile();
        if (!c.chosen) {
            EXPECT_FALSE(chosen) << c.what;
            continue;
        }
        EXPECT_EQ(chosen, firefox + "/Profiles/" + *c.chosen) << c.what;
        EXPECT_EQ(cleaner.addMozilaFirefoxDetails()->List[0].AllList[0],
                  firefox + "/Profiles/" + *c.chosen + "/cookies.sqlite")
            << c.what;
    }
}

TEST(FirefoxDetails, ProfilesIniLinesAreReadSimply) {
    const auto sections = parseIni("junk=1\n[General]\nStartWithLastProfile=1\n\n"
                                   "[Profile0]\r\n  Path = Profiles/a b \r\nDefault=1=2\n[]\n[");
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].name, "General");
    EXPECT_EQ(sections[1].value("Path"), "Profiles/a b");
    EXPECT_EQ(sections[1].value("Default"), "1=2");
    EXPECT_EQ(sections[1].value("IsRelative"), std::nullopt);
    EXPECT_EQ(sections[2].name, "");
}

TEST(SystemDetails, GathersContainerEntriesQuarantineLogsAndTrash) {
    MacFixture mac;
    const std::string containers = mac.home("/Library/Containers");
    mac.file(containers + "/.DS_Store")
        .file(containers + "/com.a/Data/Library/Caches/one", "1")
        .file(containers + "/com.a/Data/Library/Caches/.two", "2")
        .file(containers + "/com.b/Data/Library/Logs/b.log", "b")
        .file(mac.home("/Library/Preferences/com.apple.LaunchServices.QuarantineEventsV2"), "q")
        .file(mac.home("/Library/Preferences/COM.APPLE.launchservices.quarantineeventsv2-x"), "q")
        .file(mac.home("/Library/Preferences/com.example.plist"), "p")
        .file(mac.home("/.Trash/.DS_Store"), "d");
    auto fs = mac.fileSystem();
    auto system = Cleaner(fs, mac.user()).addSystemDetails();
    ASSERT_EQ(names(system),
              (std::vector<std::string>{"System Cache Files", "Applications Cache Files",
                                        "System Log Files", "Applications Log Files",
                                        "System Downloads Log", "Trash Files"}));
    auto sorted = [](std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_EQ(system.List[0].AllList, (std::vector<std::string>{mac.home("/Library/Caches")}));
    EXPECT_EQ(sorted(system.List[1].AllList),
              (std::vector<std::string>{containers + "/com.a/Data/Library/Caches/.two",
                                        containers + "/com.a/Data/Library/Caches/one"}));
    EXPECT_EQ(system.List[3].AllList,
              (std::vector<std::string>{containers + "/com.b/Data/Library/Logs/b.log"}));
    EXPECT_EQ(system.List[4].AllList.size(), 2u);
    EXPECT_EQ(system.List[5].AllList, (std::vector<std::string>{mac.home("/.Trash/.DS_Store")}));
    EXPECT_EQ(system.List[0].isEnabled, false);
    EXPECT_EQ(system.Img, "/System/Library/CoreServices/Finder.app");
}

// What the system holds back sizes as nothing; the rows and categories name it instead of
// reading as empty, and what is merely absent is no refusal.
TEST(UnreadablePlaces, RowsAndCategoriesNameWhatRefusedToBeRead) {
    MacFixture mac;
    const std::string containers = mac.home("/Library/Containers");
    mac.folder("/Applications/Safari.app")
        .folder("/Applications/Mail.app")
        .file(mac.home("/Library/Safari/History.db"), "h")
        .file(mac.home("/Library/Cookies/Cookies.binarycookies"), "c")
        .file(containers + "/com.a/Data/Library/Caches/one", "1")
        .folder(containers + "/com.apple.mail/Data/Library/Caches")
        .file(mac.home("/.Trash/old"), "o");
    auto local = mac.fileSystem();
    test::FaultyFileSystem fs(local);
    fs.denied = {{mac.home("/Library/Safari"), EPERM},
                 {containers + "/com.apple.mail", EPERM},
                 {mac.home("/.Trash"), EACCES}};
    auto categories = Cleaner(fs, mac.user()).availbleApp();
    auto named = [&](const std::string& name) {
        for (const auto& c : categories)
            if (c.Name == name)
                return c;
        ADD_FAILURE() << name;
        return CleanerCategory{};
    };

    const auto safari = named("Safari");
    EXPECT_TRUE(safari.List[0].unreadable.empty()) << "Cookies could be read";
    EXPECT_EQ(safari.List[2].unreadable,
              (std::vector<std::string>{mac.home("/Library/Safari/History.db"),
                                        mac.home("/Library/Safari/HistoryIndex.sk"),
                                        mac.home("/Library/Safari/History.db-wal")}));
    EXPECT_EQ(safari.unreadable.size(), 15u) << "each path of Safari's folder, once";
    EXPECT_GT(*safari.bytes, 0) << "the cookies are still counted";

    const auto mail = named("Mail");
    EXPECT_EQ(mail.unreadable.size(), 5u) << "the download folder and four cache folders";
    EXPECT_EQ(*mail.bytes, 0);

    const auto system = named("System");
    EXPECT_EQ(system.List[1].unreadable,
              (std::vector<std::string>{containers + "/com.apple.mail/Data/Library/Caches"}))
        << "a container that refused its listing";
    EXPECT_EQ(system.List[5].unreadable, (std::vector<std::string>{mac.home("/.Trash")}));
    EXPECT_TRUE(system.List[0].unreadable.empty());

    fs.denied.clear();
    for (const auto& c : Cleaner(fs, mac.user()).availbleApp())
        EXPECT_TRUE(c.unreadable.empty()) << c.Name << ": absent is no refusal";
}

// Since macOS 10.15 Mail lives with the system's applications; either place makes it present,
// and the bundle found gives the icon.
TEST(MailDetails, MailIsPresentInEitherApplicationsFolder) {
    const std::pair<std::vector<std::string>, std::optional<std::string>> cases[] = {
        {{}, std::nullopt},
        {{"/System/Applications/Mail.app"}, "/System/Applications/Mail.app"},
        {{"/Applications/Mail.app"}, "/Applications/Mail.app"},
        {{"/Applications/Mail.app", "/System/Applications/Mail.app"}, "/Applications/Mail.app"},
    };
    for (const auto& [bundles, icon] : cases) {
        MacFixture mac;
        for (const auto& bundle : bundles)
            mac.folder(bundle);
        auto fs = mac.fileSystem();
        auto mail = Cleaner(fs, mac.user()).addMailAppDetails();
        ASSERT_EQ(mail.has_value(), icon.has_value()) << bundles.size();
        if (mail) {
            EXPECT_EQ(mail->Img, *icon);
            EXPECT_EQ(names(*mail),
                      (std::vector<std::string>{"Mail Download", "Mail Cache Files"}));
        }
    }
}

TEST(AvailbleApp, CategoriesInCollectorOrderLeavingOutAbsentApplications) {
    MacFixture mac;
    auto fs = mac.fileSystem();
    Cleaner cleaner(fs, mac.user());
    EXPECT_EQ(categoryNames(cleaner.availbleApp()),
              (std::vector<std::string>{"Browser Extensions", "System"}));
    mac.folder("/Applications/Safari.app")
        .folder("/Applications/Google Chrome.app")
        .file(mac.home(chromeDir + "/Local State"), "{}")
        .folder("/Applications/Firefox.app")
        .folder("/Applications/Mail.app")
        .folder("/Applications/Utilities/Adobe Flash Player Install Manager.app");
    EXPECT_EQ(categoryNames(cleaner.availbleApp()),
              (std::vector<std::string>{"Safari", "Chrome", "Firefox", "Browser Extensions",
                                        "System", "Mail", "Flash"}));
    auto all = cleaner.availbleApp();
    EXPECT_EQ(names(all[5]), (std::vector<std::string>{"Mail Download", "Mail Cache Files"}));
    EXPECT_EQ(all[5].List[1].AllList.size(), 4u);
    EXPECT_EQ(names(all[6]), (std::vector<std::string>{"Flash Cookies"}));
}

} // namespace
} // namespace sentravex
