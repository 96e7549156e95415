#pragma once

#include <array>
#include <string_view>

namespace sentravex::tables {

// What a row's paths are appended to.
enum class Base { Home, Safari, ChromeProfile, FirefoxProfile };

struct ItemRow {
    std::string_view NameText; // "%@" stands for the Chrome profile's name
    Base base;
    std::array<std::string_view, 9> paths; // in order; unused places stay empty
    // The same stores where a sandboxed application keeps them, under its container's
    // "Data/Library" in the home folder; after `paths`.
    std::array<std::string_view, 2> containerPaths{};
};

constexpr std::string_view safariBundle = "/Applications/Safari.app";
constexpr std::string_view chromeBundle = "/Applications/Google Chrome.app";
constexpr std::string_view firefoxBundle = "/Applications/Firefox.app";
constexpr std::string_view mailBundle = "/Applications/Mail.app";
// Where Mail has lived since macOS 10.15; the first of the two that exists is Mail.
constexpr std::string_view systemMailBundle = "/System/Applications/Mail.app";
constexpr std::array mailBundles{mailBundle, systemMailBundle};
constexpr std::string_view flashBundle =
    "/Applications/Utilities/Adobe Flash Player Install Manager.app";
constexpr std::string_view finderBundle = "/System/Library/CoreServices/Finder.app";
constexpr std::string_view browserExtensionsImage = "Browser_ext";

// Safari 13 and later keep their cookies, caches and website data in their container.
constexpr std::string_view safariContainer = "Library/Containers/com.apple.Safari/Data/Library";

constexpr std::array safariItems{
    ItemRow{"Cookies",
            Base::Home,
            {"Library/Cookies/com.apple.Safari.SafeBrowsing.binarycookies",
             "Library/Cookies/Cookies.binarycookies"},
            {"Cookies/Cookies.binarycookies"}},
    ItemRow{"Browser Caches",
            Base::Home,
            {"Library/Caches/com.apple.Safari"},
            {"Caches/com.apple.Safari"}},
    ItemRow{"History", Base::Safari, {"History.db", "HistoryIndex.sk", "History.db-wal"}},
    ItemRow{"Downloads", Base::Safari, {"Downloads.plist"}},
    ItemRow{"LastSession", Base::Safari, {"LastSession.plist"}},
    ItemRow{"User preferences", Base::Safari, {"Configurations.plist.signed"}},
    ItemRow{"Favicons", Base::Safari, {"Touch Icons", "WebpageIcons"}},
    ItemRow{"TopSites", Base::Safari, {"TopSites.plist"}},
    ItemRow{"Local Storage",
            Base::Safari,
            {"LocalStorage", "Databases"},
            {"WebKit/WebsiteData/LocalStorage", "WebKit/WebsiteData/IndexedDB"}},
    ItemRow{"Reading List", Base::Safari, {"ReadingListArchives"}},
    ItemRow{"Form", Base::Safari, {"Form Values"}},
    ItemRow{"Recent Search", Base::Safari, {"SearchDescriptions.plist"}},
    ItemRow{"WebFeeds", Base::Safari, {"WebFeedSources.plist"}},
};

constexpr std::array chromeProfileItems{
    ItemRow{"Cookies (%@)", Base::ChromeProfile, {"Cookies", "Cookies-journal"}},
    ItemRow{"Visited Links (%@)", Base::ChromeProfile, {"Visited Links"}},
    ItemRow{"History (%@)",
            Base::ChromeProfile,
            {"History-journal", "History", "History Provider Cache"}},
    ItemRow{"Login Data (%@)", Base::ChromeProfile, {"Login Data", "Login Data-journal"}},
    ItemRow{
        "LastSession (%@)", Base::ChromeProfile, {"Session Storage", "Last Session", "Last Tabs"}},
    ItemRow{"User preferences (%@)", Base::ChromeProfile, {"Preferences"}},
    ItemRow{"Favicons (%@)", Base::ChromeProfile, {"Favicons", "Favicons-journal"}},
    ItemRow{"Top Sites (%@)", Base::ChromeProfile, {"Top Sites", "Top Sites-journal"}},
    ItemRow{"Local Storage (%@)",
            Base::ChromeProfile,
            {"databases", "File System", "IndexedDB", "Local Storage", "Pepper Data", "Storage",
             "Web Data", "Web Data-journal"}},
};
// "Browser Caches" holds these of every profile, then the Chrome caches folder.
constexpr std::array chromeProfileCaches{"Application Cache", "GPUCache"};
constexpr std::string_view chromeCaches = "Library/Caches/Google/Chrome";

constexpr std::array firefoxItems{
    ItemRow{"Cookies",
            Base::FirefoxProfile,
            {"cookies.sqlite", "webappsstore.sqlite", "chromeappsstore.sqlite"}},
    ItemRow{"Browser Caches",
            Base::Home,
            {"Library/Caches/Mozilla/updates/Applications/Firefox", "Library/Caches/Firefox"}},
    ItemRow{"Login Data", Base::FirefoxProfile, {"logins.json", "key3.db"}},
    ItemRow{"LastSession",
            Base::FirefoxProfile,
            {"sessionstore-backups", "sessionCheckpoints.json", "sessionstore.bak"}},
    ItemRow{"User preferences", Base::FirefoxProfile, {"user.js", "xulstore.json", "prefs.js"}},
    ItemRow{"Local Storage",
            Base::FirefoxProfile,
            {"formhistory.sqlite", "persdict.dat", "search.sqlite", "permissions.sqlite",
             "content-prefs.sqlite", "cert8.db", "secmod.db", "searchplugins", "mimeTypes.rdf"}},
    ItemRow{"Crash Reports", Base::Home, {"Library/Application Support/Firefox/Crash Reports"}},
};
// The reset row takes these of the chosen Firefox profile.
constexpr std::array firefoxPreferenceFiles{"user.js", "xulstore.json", "prefs.js"};

constexpr std::array mailItems{
    ItemRow{"Mail Download",
            Base::Home,
            {"Library/Containers/com.apple.mail/Data/Library/Mail Downloads"}},
    ItemRow{"Mail Cache Files",
            Base::Home,
            {"Library/Containers/com.apple.mail/Data/Library/Caches",
             "Library/Containers/com.apple.mail/Data/Library/Logs",
             "Library/Containers/com.apple.mail/Data/Library/WebKit",
             "Library/Containers/com.apple.mail/Data/Library/Saved Application State"}},
};

constexpr std::array flashItems{
    ItemRow{"Flash Cookies",
            Base::Home,
            {"Library/Preferences/Macromedia/Flash Player", "Library/Caches/Adobe/Flash Player"}},
};

} // namespace sentravex::tables
