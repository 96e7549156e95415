#include "CleanerDemo.h"

#include <array>

namespace sentravex {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view bundle =
    "<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><dict/></plist>\n";

constexpr std::string_view localState = R"({"profile":{"info_cache":{
"Default":{"name":"Person 1","is_using_default_name":true},
"Profile 1":{"name":"Work","is_using_default_name":false}},
"last_used":"Profile 1","profiles_order":["Default","Profile 1"]}}
)";

constexpr std::string_view firefoxAddons = R"({"schemaVersion":37,"addons":[
{"id":"uBlock0@raymondhill.net","version":"1.67.0","type":"extension","location":"app-profile",
"defaultLocale":{"name":"uBlock Origin"},
"path":"{home}/Library/Application Support/Firefox/Profiles/k3x9a1.default-release/extensions/uBlock0@raymondhill.net.xpi"},
{"id":"formautofill@mozilla.org","version":"1.0.1","type":"extension","location":"app-builtin-addons",
"defaultLocale":{"name":"Form Autofill"},"path":null},
{"id":"keepassxc-browser@keepassxc.org","version":"1.8.4","type":"extension","location":"app-system-share",
"defaultLocale":{"name":"KeePassXC-Browser"},"path":"/Applications/Firefox.app/Contents/Resources/distribution/extensions/keepassxc-browser@keepassxc.org.xpi"}]}
)";

constexpr std::string_view firefoxProfiles = R"([Profile1]
Name=default
IsRelative=1
Path=Profiles/h7d2q0.default
Default=1

[Profile0]
Name=default-release
IsRelative=1
Path=Profiles/k3x9a1.default-release

[General]
StartWithLastProfile=1
Version=2

[Install2656FF1E876E9973]
Default=Profiles/k3x9a1.default-release
Locked=1
)";

#define CHROME "~/Library/Application Support/Google/Chrome/"
#define FIREFOX "~/Library/Application Support/Firefox/Profiles/k3x9a1.default-release/"
#define MAIL "~/Library/Containers/com.apple.mail/Data/Library/"

constexpr std::array cleanerFiles{
    DemoFile{"/Applications/Safari.app/Contents/Info.plist", bundle},
    DemoFile{"/Applications/Google Chrome.app/Contents/Info.plist", bundle},
    DemoFile{"/Applications/Firefox.app/Contents/Info.plist", bundle},
    DemoFile{"/Applications/Firefox.app/Contents/Resources/distribution/extensions/"
             "keepassxc-browser@keepassxc.org.xpi",
             "PK\3\4 system add-on\n"},
    DemoFile{"/System/Applications/Mail.app/Contents/Info.plist", bundle},
    DemoFile{"/Applications/Utilities/Adobe Flash Player Install Manager.app/Contents/Info.plist",
             bundle},
    DemoFile{"/System/Library/CoreServices/Finder.app/Contents/Info.plist", bundle},

    DemoFile{"~/Library/Cookies/Cookies.binarycookies", "cook\n"},
    DemoFile{"~/Library/Containers/com.apple.Safari/Data/Library/Cookies/Cookies.binarycookies",
             "cook\n"},
    DemoFile{"~/Library/Caches/com.apple.Safari/Cache.db", "safari cache\n"},
    DemoFile{"~/Library/Safari/History.db", "SQLite format 3\n"},
    DemoFile{"~/Library/Safari/Downloads.plist", bundle},
    DemoFile{"~/Library/Safari/LastSession.plist", bundle},
    DemoFile{"~/Library/Safari/Configurations.plist.signed", bundle},
    DemoFile{"~/Library/Safari/TopSites.plist", bundle},
    DemoFile{"~/Library/Safari/LocalStorage/https_example.org_0.localstorage", "ls\n"},
    DemoFile{"~/Library/Safari/Extensions/Extensions.plist", bundle},
    DemoFile{"~/Library/Safari/Extensions/.DS_Store", "\0\0\0\1Bud1"sv},
    DemoFile{"~/Library/Safari/Extensions/Ghostery Lite.safariextz", "xar!\n"},

    DemoFile{CHROME "Local State", localState},
    DemoFile{CHROME "Default/Cookies", "SQLite format 3\n"},
    DemoFile{CHROME "Default/History", "SQLite format 3\n"},
    DemoFile{CHROME "Default/Preferences", R"({"browser":{"has_seen_welcome_page":true}})"},
    DemoFile{CHROME "Default/Local Storage/leveldb/000003.log", "leveldb\n"},
    DemoFile{CHROME "Default/GPUCache/data_0", "gpu\n"},
    DemoFile{CHROME "Default/Extensions/cjpalhdlnbpafiamejdnhcphjbkeiagm/1.67.0_0/manifest.json",
             R"({"manifest_version":2,"name":"uBlock Origin","version":"1.67.0"})"},
    DemoFile{CHROME "Default/Extensions/pkehgijcmpdhfbdbbnkijodmdjhbjlgp/2020.10.7_0/manifest.json",
             R"({"manifest_version":2,"name":"__MSG_name__","version":"2020.10.7",)"
             R"("default_locale":"en_US"})"},
    DemoFile{CHROME "Default/Extensions/pkehgijcmpdhfbdbbnkijodmdjhbjlgp/2020.10.7_0/_locales/"
                    "en_US/messages.json",
             R"({"name":{"message":"Privacy Badger","description":""}})"},
    DemoFile{CHROME "Profile 1/Cookies", "SQLite format 3\n"},
    DemoFile{CHROME "Profile 1/Preferences", R"({"browser":{}})"},
    DemoFile{CHROME "Profile 1/Extensions/oboonakemofpalcgghocfoadofidjkkk/1.8.4_0/manifest.json",
             R"({"manifest_version":3,"name":"KeePassXC-Browser","version":"1.8.4"})"},
    DemoFile{"~/Library/Caches/Google/Chrome/Default/Cache/Cache_Data/data_1", "cache\n"},

    // Firefox 67 and later make a "default-release" profile and leave the older "default" unused.
    DemoFile{"~/Library/Application Support/Firefox/profiles.ini", firefoxProfiles},
    DemoFile{"~/Library/Application Support/Firefox/Profiles/h7d2q0.default/times.json",
             R"({"created":1555555555000})"},
    DemoFile{FIREFOX "cookies.sqlite", "SQLite format 3\n"},
    DemoFile{FIREFOX "prefs.js", "user_pref(\"browser.startup.page\", 3);\n"},
    DemoFile{FIREFOX "xulstore.json", "{}"},
    DemoFile{FIREFOX "logins.json", R"({"nextId":1,"logins":[]})"},
    DemoFile{FIREFOX "sessionstore-backups/recovery.jsonlz4", "mozLz40\n"},
    DemoFile{FIREFOX "extensions.json", firefoxAddons},
    DemoFile{FIREFOX "extensions/uBlock0@raymondhill.net.xpi", "PK\3\4 add-on\n"},
    DemoFile{"~/Library/Caches/Firefox/Profiles/k3x9a1.default-release/cache2/entries/9A1", "c\n"},

    DemoFile{MAIL "Mail Downloads/invoice.pdf", "%PDF-1.4\n"},
    DemoFile{MAIL "Caches/com.apple.mail/Cache.db", "mail cache\n"},
    DemoFile{MAIL "Logs/mail.log", "mail log\n"},
    DemoFile{"~/Library/Containers/com.apple.Notes/Data/Library/Caches/notes.cache", "notes\n"},
    DemoFile{"~/Library/Containers/com.apple.Notes/Data/Library/Logs/notes.log", "notes\n"},

    DemoFile{"~/Library/Preferences/Macromedia/Flash Player/#SharedObjects/X7/settings.sol", "sol"},
    DemoFile{"~/Library/Caches/Adobe/Flash Player/AssetCache/x.swz", "swz\n"},

    DemoFile{"~/Library/Logs/DiagnosticReports/Finder.crash", "crash\n"},
    DemoFile{"~/Library/Preferences/com.apple.LaunchServices.QuarantineEventsV2", "events\n"},
    DemoFile{"~/.Trash/old report.pdf", "%PDF-1.4\n"},
    DemoFile{"~/.Trash/.DS_Store", "\0\0\0\1Bud1"sv},
};

#undef CHROME
#undef FIREFOX
#undef MAIL

} // namespace

std::span<const DemoFile> cleanerDemoFiles() {
    return cleanerFiles;
}

} // namespace sentravex
