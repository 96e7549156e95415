#include "access/AccessGrants.h"

#include "FaultyFileSystem.h"
#include "MacFixture.h"
#include "access/AlertPanel.h"
#include "access/Bookmarks.h"
#include "access/LocalBookmarks.h"
#include "platform/Defaults.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

namespace sentravex {
namespace {

using test::FaultyFileSystem;
using test::MacFixture;

constexpr const char* kHome = "/Users/alice";

struct FakePanel : OpenPanel {
    OpenPanelAnswer answer;
    std::vector<OpenPanelSettings> shown;
    OpenPanelAnswer runModal(const OpenPanelSettings& settings) override {
        shown.push_back(settings);
        return answer;
    }
};

struct FakeAlerts : AlertPanel {
    long answer = kAlertFirstButtonReturn;
    std::vector<AlertMessage> shown;
    long runModal(const AlertMessage& alert) override {
        shown.push_back(alert);
        return answer;
    }
};

// Bookmark data is "bm:" and the folder; only the data in `resolving` comes back into force.
struct FakeBookmarks : Bookmarks {
    bool failCreation = false;
    std::set<std::string> resolving;
    mutable std::vector<std::string> started;
    BookmarkData bookmarkData(const std::string& folder) const override {
        if (failCreation)
            return {std::nullopt, "cannot bookmark " + folder};
        return {"bm:" + folder, ""};
    }
    bool startAccessing(const std::string& data) const override {
        started.push_back(data);
        return resolving.count(data) > 0;
    }
};

struct RecordingDefaults : MemoryDefaults {
    mutable std::vector<std::string> reads;
    std::optional<std::string> value(const std::string& key) const override {
        reads.push_back(key);
        return MemoryDefaults::value(key);
    }
};

// Neither the home folder nor the disk is writable unless a test says so.
struct World {
    MacFixture mac{"alice"};
    LocalFileSystem local = mac.fileSystem();
    FaultyFileSystem fs{local};
    RecordingDefaults defaults;
    FakeBookmarks bookmarks;
    FakePanel panel;
    FakeAlerts alerts;
    std::ostringstream log;

    World() {
        mac.folder(kHome);
        fs.unwritable = {"/", kHome};
    }
    AccessGrants grants(const Bookmarks& b) {
        return AccessGrants({fs, defaults, b, panel, alerts, log}, mac.user());
    }
    AccessGrants grants() { return grants(bookmarks); }
    std::vector<std::string> panelFolders() const {
        std::vector<std::string> out;
        for (const auto& s : panel.shown)
            out.push_back(s.directory);
        return out;
    }
    std::vector<std::string> alertTitles() const {
        std::vector<std::string> out;
        for (const auto& a : alerts.shown)
            out.push_back(a.messageText);
        return out;
    }
};

using Keys = std::optional<std::string>;

struct Route {
    const char* name = "";
    // given
    std::optional<bool> sandboxingDone = {};
    Keys storedHome = {}, storedHD = {};
    std::set<std::string> resolving = {};
    bool homeWritable = false, rootWritable = false;
    long alertAnswer = kAlertFirstButtonReturn;
    OpenPanelAnswer panelAnswer = {};
    bool bookmarkFails = false;
    // expected
    bool answer = true;
    std::vector<std::string> alerts = {};
    std::vector<std::string> panels = {};
    Keys homeAfter = {}, hdAfter = {};
    bool libraryAccess = false;
    bool userDirAccessible = false;
    std::string log = {};
};

void PrintTo(const Route& c, std::ostream* os) {
    *os << c.name;
}

class CheckForHDAccess : public testing::TestWithParam<Route> {};

TEST_P(CheckForHDAccess, FollowsItsRoute) {
    const Route& r = GetParam();
    World w;
    if (r.sandboxingDone)
        w.defaults.setBool(kSandboxingDone, *r.sandboxingDone);
    if (r.storedHome)
        w.defaults.setValue(kSaveDirectory, *r.storedHome);
    if (r.storedHD)
        w.defaults.setValue(kSaveDirectoryForHD, *r.storedHD);
    w.bookmarks.resolving = r.resolving;
    w.bookmarks.failCreation = r.bookmarkFails;
    if (r.homeWritable)
        w.fs.unwritable.erase(kHome);
    if (r.rootWritable)
        w.fs.unwritable.erase("/");
    w.alerts.answer = r.alertAnswer;
    w.panel.answer = r.panelAnswer;

    auto grants = w.grants();
    EXPECT_EQ(grants.checkForHDAccess(), r.answer);
    EXPECT_EQ(w.alertTitles(), r.alerts);
    EXPECT_EQ(w.panelFolders(), r.panels);
    EXPECT_EQ(w.defaults.MemoryDefaults::value(kSaveDirectory), r.homeAfter);
    EXPECT_EQ(w.defaults.MemoryDefaults::value(kSaveDirectoryForHD), r.hdAfter);
    EXPECT_EQ(w.defaults.boolForKey(kLibraryAccess), r.libraryAccess);
    EXPECT_EQ(grants.isUserDirAccessible(), r.userDirAccessible);
    EXPECT_EQ(w.log.str(), r.log);
}

const OpenPanelAnswer kHomeChosen{kOpenPanelOK, kHome};
const OpenPanelAnswer kDiskChosen{kOpenPanelOK, "/"};
const OpenPanelAnswer kHomeDismissed{0, kHome};
const OpenPanelAnswer kDiskDismissed{0, "/"};

INSTANTIATE_TEST_SUITE_P(
    , CheckForHDAccess,
    testing::Values(
        // Home route
        Route{.name = "NoFlagTakesTheHomeRouteDespiteAWholeDiskBookmark",
              .storedHD = "bm:/",
              .resolving = {"bm:/"},
              .panelAnswer = kHomeChosen,
              .panels = {kHome},
              .homeAfter = "bm:/Users/alice",
              .hdAfter = "bm:/Users/alice",
              .libraryAccess = true},
        Route{.name = "HomePanelDismissedStopsTheScan",
              .sandboxingDone = false,
              .panelAnswer = kHomeDismissed,
              .answer = false,
              .panels = {kHome}},
        Route{.name = "HomePanelConfirmedWithoutAFolder",
              .panelAnswer = {kOpenPanelOK, std::nullopt},
              .panels = {kHome},
              .libraryAccess = true},
        Route{.name = "LibraryAccessSetEvenWhenTheBookmarkFails",
              .storedHD = "bm:/",
              .panelAnswer = kHomeChosen,
              .bookmarkFails = true,
              .alerts = {"Error"},
              .panels = {kHome},
              .libraryAccess = true,
              .log = "Error bookmarking selected URL: cannot bookmark /Users/alice\n"},
        Route{.name = "ResolvingHomeBookmarkAsksNothing",
              .storedHome = "bm:/Users/alice",
              .resolving = {"bm:/Users/alice"},
              .homeAfter = "bm:/Users/alice",
              .userDirAccessible = true},
        Route{.name = "StaleHomeBookmarkShowsNoNewPanel",
              .storedHome = "bm:/Users/gone",
              .panelAnswer = kHomeChosen,
              .homeAfter = "bm:/Users/gone"},
        Route{.name = "WritableHomeNeedsNoBookmark",
              .storedHome = "bm:/Users/gone",
              .homeWritable = true,
              .homeAfter = "bm:/Users/gone",
              .userDirAccessible = true},
        // Whole-disk route
        Route{.name = "ResolvingWholeDiskBookmarkShowsNoAlert",
              .sandboxingDone = true,
              .storedHD = "bm:/",
              .resolving = {"bm:/"},
              .hdAfter = "bm:/"},
        Route{.name = "WritableDiskShowsNoAlert", .sandboxingDone = true, .rootWritable = true},
        Route{.name = "ContinueAsksNothingMore",
              .sandboxingDone = true,
              .storedHD = "bm:/Volumes/gone",
              .panelAnswer = kDiskChosen,
              .alerts = {"Access Alert"},
              .hdAfter = "bm:/Volumes/gone"},
        Route{.name = "ConfirmAccessStoresUnderBothKeys",
              .sandboxingDone = true,
              .alertAnswer = kAlertSecondButtonReturn,
              .panelAnswer = kDiskChosen,
              .alerts = {"Access Alert"},
              .panels = {"/"},
              .homeAfter = "bm:/",
              .hdAfter = "bm:/"},
        Route{.name = "WholeDiskPanelDismissedStillScans",
              .sandboxingDone = true,
              .alertAnswer = kAlertSecondButtonReturn,
              .panelAnswer = kDiskDismissed,
              .alerts = {"Access Alert"},
              .panels = {"/"}},
        Route{.name = "WholeDiskBookmarkFailureClearsBothKeys",
              .sandboxingDone = true,
              .storedHome = "bm:/Users/alice",
              .storedHD = "bm:/Volumes/gone",
              .alertAnswer = kAlertSecondButtonReturn,
              .panelAnswer = kDiskChosen,
              .bookmarkFails = true,
              .alerts = {"Access Alert", "Error"},
              .panels = {"/"},
              .log = "Error bookmarking selected URL: cannot bookmark /\n"}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(AccessGrants, PanelsAndAlertsCarryTheirTexts) {
    World w;
    w.defaults.setBool(kSandboxingDone, true);
    w.alerts.answer = kAlertSecondButtonReturn;
    w.panel.answer = kDiskChosen;
    w.bookmarks.failCreation = true;
    w.grants().checkForHDAccess();

    ASSERT_EQ(w.alerts.shown.size(), 2u);
    const auto& wholeDisk = w.alerts.shown[0];
    EXPECT_EQ(wholeDisk.messageText, "Access Alert");
    EXPECT_EQ(wholeDisk.informativeText,
              "Sentravex does not have permission to scan your entire mac. Please grant root "
              "access or continue to only scan your user directory.");
    EXPECT_EQ(wholeDisk.buttons, (std::vector<std::string>{"Continue", "Confirm Access"}));
    const auto& failure = w.alerts.shown[1];
    EXPECT_EQ(failure.messageText, "Error");
    EXPECT_EQ(failure.informativeText, "Access Denied");
    EXPECT_TRUE(failure.buttons.empty());

    ASSERT_EQ(w.panel.shown.size(), 1u);
    const auto& panel = w.panel.shown[0];
    EXPECT_FALSE(panel.canChooseFiles);
    EXPECT_TRUE(panel.canChooseDirectories);
    EXPECT_FALSE(panel.allowsMultipleSelection);
    EXPECT_EQ(panel.prompt, "Confirm Access");
    EXPECT_EQ(panel.message, "Give access for scanning in your User Directory");
}

TEST(AccessGrants, WritableHomeIsAccessibleWithoutTouchingTheDefaults) {
    World w;
    w.fs.unwritable.erase(kHome);
    w.defaults.setValue(kSaveDirectory, "bm:/Users/gone");
    auto grants = w.grants();
    grants.isUserAccessible();
    EXPECT_TRUE(grants.isUserDirAccessible());
    EXPECT_TRUE(w.defaults.reads.empty());
    EXPECT_TRUE(w.bookmarks.started.empty());
}

TEST(AccessGrants, StaleWholeDiskBookmarkBringsTheAlertBackEveryTime) {
    World w;
    w.defaults.setBool(kSandboxingDone, true);
    w.defaults.setValue(kSaveDirectoryForHD, "bm:/Volumes/gone");
    auto grants = w.grants();
    EXPECT_TRUE(grants.checkForHDAccess());
    EXPECT_TRUE(grants.checkForHDAccess());
    EXPECT_EQ(w.alertTitles(), (std::vector<std::string>{"Access Alert", "Access Alert"}));
    EXPECT_FALSE(grants.makeBookMarkURLAccessible("no such key"));
}

// With real bookmarks: a grant made at one launch serves the next until the folder moves.
TEST(AccessGrants, HomeGrantServesLaterLaunchesUntilTheFolderMoves) {
    World w;
    LocalBookmarks bookmarks(Root(w.mac.root()));
    w.panel.answer = kHomeChosen;
    EXPECT_TRUE(w.grants(bookmarks).checkForHDAccess());
    ASSERT_EQ(w.panel.shown.size(), 1u);

    auto nextLaunch = w.grants(bookmarks);
    EXPECT_TRUE(nextLaunch.checkForHDAccess());
    EXPECT_TRUE(nextLaunch.isUserDirAccessible());

    std::filesystem::rename(w.mac.host(kHome), w.mac.host("/Users/moved"));
    auto afterMove = w.grants(bookmarks);
    EXPECT_TRUE(afterMove.checkForHDAccess());
    EXPECT_FALSE(afterMove.isUserDirAccessible());
    EXPECT_EQ(w.panel.shown.size(), 1u);
}

} // namespace
} // namespace sentravex
