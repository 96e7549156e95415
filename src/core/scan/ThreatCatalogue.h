#pragma once

#include <array>
#include <string_view>

namespace sentravex::catalogue {

inline constexpr std::string_view kind = "Quorvane";
inline constexpr std::string_view risk = "High Risk";
inline constexpr std::string_view filler = "Quorvane"; // text of the steps that check nothing

inline constexpr int leadSteps = 26;
inline constexpr int trailSteps = 35;
inline constexpr double fillerSeconds = 0.2;

enum class Check { Application, ApplicationSupport, LaunchAgents, LaunchDaemons };

// Seconds of the step each check makes itself before matching.
constexpr double ownStepSeconds(Check c) {
    switch (c) {
    case Check::Application:
        return 0.3;
    case Check::ApplicationSupport:
        return 0.5;
    case Check::LaunchAgents:
        return 0.3;
    case Check::LaunchDaemons:
        return 0.4;
    }
    return 0;
}

// Applications and application support step after their check; agents and daemons before it.
constexpr bool stepsBeforeCheck(Check c) {
    return c == Check::LaunchAgents || c == Check::LaunchDaemons;
}

struct NamedRow {
    Check check;
    std::string_view name; // matched, ignoring case, as part of an entry's name; also the step text
    double seconds;
    bool backupsStepAfter = false; // a further step showing the home backups folder
};

inline constexpr std::array namedRows{
    NamedRow{Check::Application, "Quorvane.app", 0.3},
    NamedRow{Check::Application, "Nubiloft.app", 0.5},
    NamedRow{Check::ApplicationSupport, "Quorvane", 0.5},
    NamedRow{Check::ApplicationSupport, "Quorvane Helper", 0.4},
    NamedRow{Check::LaunchAgents, "com.nimbrel.Quorvane.Helper.plist", 0.2},
    NamedRow{Check::LaunchAgents, "com.nimbrel.Quorvane.plugin.Backup.agent.plist", 0.6},
    NamedRow{Check::LaunchAgents, "com.quorvane.Quorvane.Helper.plist", 0.5},
    NamedRow{Check::LaunchAgents, "com.vaultmere.Nubiloft.autostart.plist", 0.4},
    NamedRow{Check::LaunchAgents, "com.vaultmere.Nubiloft.notify.plist", 0.3},
    NamedRow{Check::LaunchDaemons, "com.nimbrel.Quorvane.AntiVirus.plist", 0.4},
    NamedRow{Check::LaunchDaemons, "com.nimbrel.Quorvane.plugin.AntiTheft.daemon.plist", 0.5, true},
    NamedRow{Check::LaunchDaemons, "com.quorvane.Quorvane.plugin.AntiTheft.daemon.plist", 0.3},
};

inline constexpr std::string_view backupsFolder = "/Documents/Quorvane Backups"; // in the home
inline constexpr double backupsSeconds = 0.3;

struct Location {
    std::string_view path;
    bool inHome; // the path is taken inside the home folder
};

// Each is looked for as written and again inside the home folder; every find is one step of
// `locationSeconds` showing its path.
inline constexpr std::array locations{
    Location{"/Library/Caches/com.nimbrel.Quorvane", false},
    Location{"/Library/Caches/com.nimbrel.Quorvane.Helper", false},
    Location{"/Library/Caches/com.quorvane.Quorvane", false},
    Location{"/Library/Caches/com.quorvane.Quorvane.Helper", false},
    Location{"/Library/Caches/com.quorvane.Quorvane.QVCleanService", false},
    Location{"/Library/Logs/Quorvane.log", false},
    Location{"/Library/Logs/Nubiloft", false},
    Location{"/Library/Logs/Quorvane.log.signed", false},
    Location{"/Library/Preferences/com.nimbrel.Quorvane.Helper.plist", false},
    Location{"/Library/Preferences/com.quorvane.Quorvane.plist", false},
    Location{"/Library/Preferences/com.quorvane.Quorvane.Helper.plist", false},
    Location{"/Library/Preferences/.3FAD0F65-FC6E-4889-B975-B96CBF807B78", false},
    Location{"/Library/Preferences/.3246584E-0CF8-4153-835D-C7D952862F9D", false},
    Location{"/Library/Saved Application State/com.nimbrel.Quorvane.savedState", false},
    Location{"/Documents/Quorvane", false},
    Location{"/Library/Application Support/com.quorvane.Quorvane", true},
    Location{"/Library/Application Support/com.quorvane.Quorvane.Helper", true},
    Location{"/Library/Application Support/com.quorvane.Quorvane.QVCleanService", true},
    Location{"/Quorvane Backups", true},
};
inline constexpr double locationSeconds = 0.5;

inline constexpr std::string_view singlesLeadText = "com.nimbrel.Quorvane.Helper.plist";
inline constexpr double singlesLeadSeconds = 0.5;

struct SinglePath {
    std::string_view path;
    bool inHome;
    double seconds;
    std::string_view stepText = {}; // empty: the path itself
    int steps = 1;
};

inline constexpr std::array singlePaths{
    SinglePath{"/Documents/Quorvane Backups", true, 0.3},
    SinglePath{"/private/tmp/com.quorvane.Quorvane.Installer.config", false, 0.4},
    SinglePath{"/private/var/db/receipts/com.quorvane.Quorvane.affid.pkg.plist", false, 0.3},
    SinglePath{"/private/var/db/receipts/com.quorvane.Quorvane.affid.pkg.bom", false, 0.4,
               "/private/var/db/receipts/com.quorvane.Quorvane.affid.pkg.bomr"},
    SinglePath{"/private/var/db/receipts/com.quorvane.Quorvane.pkg.plist", false, 0.5},
    SinglePath{"/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom", false, 0.2},
    SinglePath{"/Downloads/Quorvane", true, 0.4},
    SinglePath{"/Documents/Quorvane", true, 0.4},
    SinglePath{"/private/var/folders/mh/yprf0vxs3mx_n2lg3tjgqddm0000gn/T/Quorvane", false, 0.3},
    SinglePath{"/private/tmp/Quorvane", false, 0.3, {}, 2},
};

} // namespace sentravex::catalogue
