#include "DemoTree.h"

#include "CleanerDemo.h"

#include <array>

namespace sentravex {
namespace {

constexpr std::string_view plist = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>Label</key><string>demo</string></dict></plist>
)";

// Quorvane's traces, then files that belong to the user and must be left alone.
constexpr std::array demoFiles{
    DemoFile{"/Applications/Quorvane.app/Contents/Info.plist", plist},
    DemoFile{"/Applications/Quorvane.app/Contents/MacOS/Quorvane", "#!/bin/sh\n"},
    DemoFile{"/Library/Application Support/Quorvane/engine.db", "quorvane engine state\n"},
    DemoFile{"/Library/LaunchAgents/com.nimbrel.Quorvane.Helper.plist", plist},
    DemoFile{"~/Library/LaunchAgents/com.vaultmere.Nubiloft.autostart.plist", plist},
    DemoFile{"/Library/LaunchDaemons/com.nimbrel.Quorvane.AntiVirus.plist", plist},
    DemoFile{"/Library/Caches/com.nimbrel.Quorvane/Cache.db", "cache\n"},
    DemoFile{"~/Library/Caches/com.quorvane.Quorvane/Cache.db", "cache\n"},
    DemoFile{"~/Library/Logs/Quorvane.log", "2026-11-02 09:14:07 Quorvane started\n"},
    DemoFile{"~/Library/Preferences/.3FAD0F65-FC6E-4889-B975-B96CBF807B78", "1\n"},
    DemoFile{"/private/var/db/receipts/com.quorvane.Quorvane.pkg.plist", plist},
    DemoFile{"/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom", "BOMStore\n"},
    DemoFile{"~/Documents/Quorvane Backups/backup-2026-11-01.qvb", "backup\n"},

    DemoFile{"/Applications/Calculator.app/Contents/Info.plist", plist},
    DemoFile{"/Library/LaunchAgents/com.example.updater.plist", plist},
    DemoFile{"~/Documents/Notes about Quorvane removal.txt", "Remember to check the receipts.\n"},
    DemoFile{"~/Library/Preferences/com.example.editor.plist", plist},
};

} // namespace

bool writeDemoTree(const std::string& hostFolder, const std::string& user) {
    bool traces = writeDemoFiles(hostFolder, user, demoFiles);
    return writeDemoFiles(hostFolder, user, cleanerDemoFiles()) && traces;
}

} // namespace sentravex
