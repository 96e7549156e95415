#include "removal/ThreatRemover.h"

#include "FakeProcesses.h"
#include "FaultyFileSystem.h"
#include "MacFixture.h"
#include "RecordingScriptRunner.h"
#include "RecordingSink.h"
#include "removal/CompletionActions.h"
#include "removal/PrivilegedPaths.h"
#include "removal/ProtectedDeletion.h"
#include "removal/QuorvaneScripts.h"
#include "scan/ProgressSink.h"
#include "scan/ThreatScanner.h"
#include "view/ThreatSelection.h"

#include <gtest/gtest.h>

namespace sentravex {
namespace {

using test::FakeProcesses;
using test::FaultyFileSystem;
using test::MacFixture;
using test::RecordingScriptRunner;
using test::SentinelFolder;

const std::string app(privilegedPaths[0]);
const std::string receiptPlist(privilegedPaths[4]);
const std::string receiptBom(privilegedPaths[5]);
const std::string cache = "/Library/Caches/com.quorvane.Quorvane";
const std::string log = "/Library/Logs/Quorvane.log";
const std::string helper = "/Applications/Sentravex.app/Contents/MacOS/sentravex-cli";

// A fixture with Quorvane running, a file system that can refuse deletions and a runner whose
// authorised deletion removes the seven protected paths, as the command-line program would.
struct Removal {
    MacFixture mac{"bob"};
    LocalFileSystem local = mac.fileSystem();
    FaultyFileSystem fs{local};
    RecordingScriptRunner runner;
    FakeProcesses processes = FakeProcesses().with("Quorvane");
    ThreatRemover remover{fs, Root(mac.root()), runner, processes, {false, helper}};

    Removal() {
        runner.onRun = [this](const std::string& source, bool outcome) {
            if (outcome && source == scripts::DeleteQuorvaneAppUnder(helper, Root(mac.root())))
                removeProtectedPaths(local);
        };
    }

    std::vector<QuorvanePtr> records(const std::vector<std::string>& paths) {
        std::vector<QuorvanePtr> list;
        for (const auto& p : paths) {
            mac.file(p.ends_with(".app") ? p + "/Contents/Info.plist" : p);
            list.push_back(Quorvane::QuorvaneWithName(fs, p.substr(p.rfind('/') + 1), true,
                                                      "Quorvane", 0, p, "High Risk"));
        }
        return list;
    }
};

std::vector<std::string> quitAndDelete(const std::string& root) {
    return {scripts::closeQuorvaneApp(),
            scripts::DeleteQuorvaneAppUnder(helper, Root(root)).value()};
}

TEST(RemoveThisMalware, AVanishedRecordIsRemovedWithoutAnyFileOperation) {
    Removal r;
    auto list = r.records({log, receiptBom});
    r.local.removeItem(log);
    r.local.removeItem(receiptBom);
    r.fs.undeletable.insert(log); // a delete would now fail

    auto panel = r.remover.removeThisMalware(list);
    EXPECT_EQ(r.remover.arrQuorvaneActionTaken(), (std::vector<std::string>{"Removed", "Removed"}));
    EXPECT_TRUE(r.runner.sources.empty());
    EXPECT_TRUE(list[0]->isDeleted() && list[1]->isDeleted());
    EXPECT_FALSE(list[0]->isNoAction());
    EXPECT_EQ(panel.text, "All Threats have been Removed");
}

struct PrivilegedCase {
    const char* name;
    bool authorised;
    std::vector<std::string> actions;
    std::string text;
};

class ApplicationThenReceipts : public ::testing::TestWithParam<PrivilegedCase> {};

TEST_P(ApplicationThenReceipts, QuitAndOneDeletionForTheApplicationAndTheReceiptsFollowIt) {
    const auto& c = GetParam();
    Removal r;
    auto list = r.records({app, cache, receiptPlist, receiptBom});
    r.runner.outcomes = {true, c.authorised};

    auto panel = r.remover.removeThisMalware(list);
    EXPECT_EQ(r.runner.sources, quitAndDelete(r.mac.root()));
    EXPECT_EQ(r.remover.isPassCorrect(), c.authorised);
    EXPECT_EQ(r.remover.arrQuorvaneActionTaken(), c.actions);
    EXPECT_EQ(panel.text, c.text);
    EXPECT_EQ(r.remover.deletedQuorvane().size() + r.remover.unDeletedQuorvane().size(), 4u);
    EXPECT_FALSE(r.local.exists(cache));
    // Each row left is named with the reason, in list order.
    std::vector<std::string> left;
    for (const auto& failure : r.remover.notRemoved()) {
        left.push_back(failure.path);
        EXPECT_EQ(failure.reason, "the administrator command was refused or failed");
    }
    const std::vector<std::string> refused{app, receiptPlist, receiptBom};
    EXPECT_EQ(left, c.authorised ? std::vector<std::string>() : refused);

    // Every run asks again while protected paths are left.
    r.runner.outcomes = {true, c.authorised};
    r.remover.removeThisMalware(list);
    EXPECT_EQ(r.runner.sources.size(), c.authorised ? 2u : 4u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplicationThenReceipts,
    ::testing::Values(PrivilegedCase{"Authorised",
                                     true,
                                     {"Removed", "Removed", "Removed", "Removed"},
                                     "All Threats have been Removed"},
                      PrivilegedCase{"Cancelled",
                                     false,
                                     {"Not Removed", "Removed", "Not Removed", "Not Removed"},
                                     "3 Threats Remaining"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(RemoveThisMalware, WithoutTheApplicationTheFirstReceiptAsksOnce) {
    Removal r;
    auto list = r.records({receiptPlist, receiptBom});
    auto panel = r.remover.removeThisMalware(list);
    EXPECT_EQ(r.runner.sources,
              (std::vector<std::string>{
                  scripts::DeleteQuorvaneAppUnder(helper, Root(r.mac.root())).value()}));
    EXPECT_EQ(r.remover.arrQuorvaneActionTaken(), (std::vector<std::string>{"Removed", "Removed"}));
    EXPECT_EQ(panel.color, colors::successGreen);
    EXPECT_EQ(panel.buttonTitle, "Quit");
}

TEST(RemoveThisMalware, QuorvaneIsAskedToQuitOnlyWhenItRuns) {
    // The quit request would start the application it is about to remove.
    Removal r;
    r.processes.processes = FakeProcesses().with("Quorvane Helper").with("Finder").processes;
    auto list = r.records({app});
    r.remover.removeThisMalware(list);
    EXPECT_EQ(r.runner.sources,
              (std::vector<std::string>{
                  scripts::DeleteQuorvaneAppUnder(helper, Root(r.mac.root())).value()}));
    EXPECT_EQ(r.remover.arrQuorvaneActionTaken(), (std::vector<std::string>{"Removed"}));
}

TEST(RemoveThisMalware, AsRootUnderAnotherRootTheProtectedPathsGoInThisProcessAndStayInside) {
    Removal r;
    SentinelFolder outside;
    const auto before = outside.snapshot();
    const std::string config = "/com.quorvane.Quorvane.Installer.config";
    r.mac.link("/private/tmp", outside.path()).file(outside.path() + config);
    ThreatRemover asRoot(r.fs, Root(r.mac.root()), r.runner, r.processes, {true, helper});
    auto list = r.records({app, receiptPlist});
    list.push_back(Quorvane::QuorvaneWithName(r.fs, "config", true, "Quorvane", 0,
                                              "/private/tmp" + config, "High Risk"));

    asRoot.removeThisMalware(list);
    EXPECT_EQ(r.runner.sources, (std::vector<std::string>{scripts::closeQuorvaneApp()}));
    EXPECT_EQ(asRoot.arrQuorvaneActionTaken(),
              (std::vector<std::string>{"Removed", "Removed", "Removed"}));
    EXPECT_FALSE(r.local.exists(app));
    EXPECT_FALSE(r.local.exists("/private/tmp" + config)) << "the link is followed inside the root";
    EXPECT_EQ(outside.snapshot(), before);

    // A protected path that cannot go keeps its row and the others' outcome honest.
    r.mac.file(receiptPlist);
    r.fs.undeletable.insert(receiptPlist);
    asRoot.removeThisMalware(r.records({receiptPlist}));
    EXPECT_EQ(asRoot.arrQuorvaneActionTaken(), (std::vector<std::string>{"Not Removed"}));
    EXPECT_FALSE(asRoot.isPassCorrect());
}

TEST(RemoveThisMalware, ARowReadsRemovedOnlyWhenNothingIsLeftAtItsPath) {
    Removal r;
    // The link's target goes first in the same run; the link itself must still be removed.
    r.mac.file(cache + "/data").link(log, cache);
    auto list = r.records({cache});
    list.push_back(
        Quorvane::QuorvaneWithName(r.fs, "Quorvane.log", true, "Quorvane", 0, log, "High Risk"));
    r.remover.removeThisMalware(list);
    EXPECT_EQ(r.remover.arrQuorvaneActionTaken(), (std::vector<std::string>{"Removed", "Removed"}));
    EXPECT_FALSE(r.local.isLink(log));

    // An authorisation that reports success while the path stays is no removal.
    r.mac.file(receiptBom);
    r.runner.onRun = {};
    r.remover.removeThisMalware(r.records({receiptBom}));
    EXPECT_TRUE(r.remover.isPassCorrect());
    EXPECT_EQ(r.remover.arrQuorvaneActionTaken(), (std::vector<std::string>{"Not Removed"}));
}

TEST(RemoveThisMalware, APlainFileThatCannotBeDeletedKeepsTheBoxRedRunAfterRun) {
    Removal r;
    auto list = r.records({cache, log, "/private/tmp/Quorvane"});
    r.fs.undeletable.insert(log);
    for (int run = 0; run < 3; ++run) {
        auto panel = r.remover.removeThisMalware(list);
        EXPECT_EQ(panel.text, "1 Threat Remaining");
        EXPECT_EQ(panel.color, colors::alertRed);
        EXPECT_EQ(panel.image, "icn_white_cross");
        EXPECT_EQ(panel.buttonTitle, "Quarantine >");
        EXPECT_EQ(r.remover.arrQuorvaneActionTaken(),
                  (std::vector<std::string>{"Removed", "Not Removed", "Removed"}));
        EXPECT_FALSE(list[1]->isDeleted());
        EXPECT_FALSE(r.remover.restartSheetWanted());
        ASSERT_EQ(r.remover.notRemoved().size(), 1u) << "each run lists only its own";
        EXPECT_EQ(r.remover.notRemoved()[0].path, log);
        EXPECT_EQ(r.remover.notRemoved()[0].reason, "Operation not permitted");
    }
    EXPECT_TRUE(r.local.exists(log));

    r.fs.undeletable.insert("/private/tmp/Quorvane");
    r.mac.file("/private/tmp/Quorvane");
    EXPECT_EQ(r.remover.removeThisMalware(list).text, "2 Threats Remaining");
}

TEST(ResultPanelAfterRemoval, TextsColoursIconsAndButton) {
    struct Case {
        std::size_t listed, removed, remaining;
        const char* text;
        bool green;
    };
    const Case cases[] = {
        {4, 4, 0, "All Threats have been Removed", true},
        {4, 3, 1, "1 Threat Remaining", false},
        {4, 2, 2, "2 Threats Remaining", false},
        {0, 3, 0, "0 Threats Remaining", false}, // a reset emptied the list afterwards
    };
    for (const auto& c : cases) {
        auto panel = resultPanelAfterRemoval(c.listed, c.removed, c.remaining);
        EXPECT_EQ(panel.text, c.text);
        EXPECT_EQ(panel.color, c.green ? colors::successGreen : colors::alertRed) << c.text;
        EXPECT_EQ(panel.image, c.green ? "icn_white_check" : "icn_white_cross") << c.text;
        EXPECT_EQ(panel.buttonTitle, c.green ? "Quit" : "Quarantine >") << c.text;
    }
}

TEST(CleanAllThreats, QuitDoesNothingElseAndAnyOtherTitleRemoves) {
    Removal r;
    auto list = r.records({cache});
    EXPECT_EQ(r.remover.cleanAllThreats("Quit", list), ThreatRemover::CleanAllAction::Quit);
    EXPECT_TRUE(r.local.exists(cache));
    EXPECT_FALSE(r.remover.isQurantinePressed());
    EXPECT_EQ(r.remover.cleanAllThreats("Quarantine >", list),
              ThreatRemover::CleanAllAction::Removal);
    EXPECT_FALSE(r.local.exists(cache));
    EXPECT_TRUE(r.remover.isQurantinePressed());
}

TEST(RestartSheet, OfferedAfterAFullRemovalOfTheSystemDiskOnly) {
    Removal r;
    RecordingScriptRunner runner;
    ThreatRemover system(r.fs, Root("/"), runner, r.processes, {});
    EXPECT_FALSE(system.restartSheetWanted());
    system.removeThisMalware({});
    EXPECT_TRUE(system.restartSheetWanted());
    system.restartAlertDidEnd(1001);
    EXPECT_TRUE(runner.sources.empty());
    system.restartAlertDidEnd(1000);
    EXPECT_EQ(runner.sources, (std::vector<std::string>{scripts::RestatSystem()}));

    // A mounted volume never reboots this machine.
    r.remover.removeThisMalware(r.records({cache}));
    EXPECT_FALSE(r.remover.restartOffered());
    EXPECT_FALSE(r.remover.restartSheetWanted());
    r.remover.restartAlertDidEnd(1000);
    EXPECT_TRUE(r.runner.sources.empty());
}

TEST(ResetApp, AfterARemovalEmptiesTheListAndKeepsTheRemovalsOutcome) {
    Removal r;
    r.mac.file(cache + "/c").file(log);
    ThreatScanner scanner(r.fs, "bob");
    test::RecordingSink sink;
    scanner.checkQuorvane(sink);
    auto list = scanner.arrQuorvaneList();
    ASSERT_EQ(list.size(), 2u);
    r.remover.removeThisMalware(list);
    EXPECT_FALSE(btnShowInFinderEnabled(list, 0));

    int countDown = 17, minutes = 2;
    resetApp(scanner, countDown, minutes);
    EXPECT_TRUE(scanner.arrQuorvaneList().empty());
    EXPECT_EQ(countDown, 0);
    EXPECT_EQ(minutes, 0);
    EXPECT_EQ(takeScanStep(), 0);
    EXPECT_FALSE(btnShowInFinderEnabled(scanner.arrQuorvaneList(), 0));
    EXPECT_TRUE(r.remover.isQurantinePressed());
    EXPECT_EQ(r.remover.resultPanel(scanner.arrQuorvaneList().size()).text, "0 Threats Remaining");
    r.remover.scanStarted();
    EXPECT_FALSE(r.remover.isQurantinePressed());
}

TEST(ThreatSelection, ShowInFinderOnlyForASelectedRecordNotDeleted) {
    Removal r;
    auto list = r.records({cache, log});
    r.fs.undeletable.insert(log);
    r.remover.removeThisMalware(list);
    const std::pair<long, bool> cases[] = {{-1, false}, {0, false}, {1, true}, {2, false}};
    for (auto [row, enabled] : cases)
        EXPECT_EQ(btnShowInFinderEnabled(list, row), enabled) << row;
}

TEST(ThreatSelection, ShowInFinderRevealsTheRecordInsideTheRoot) {
    MacFixture mac;
    test::SentinelFolder outside;
    mac.link("/Library/Logs", outside.path()).file(outside.path() + "/Quorvane.log");
    auto fs = mac.fileSystem();
    auto record =
        Quorvane::QuorvaneWithName(fs, "Quorvane.log", true, "Quorvane", 0, log, "High Risk");
    EXPECT_EQ(showInFinderTarget(Root(mac.root()), record),
              mac.host(outside.path() + "/Quorvane.log"));
    EXPECT_EQ(showInFinderTarget(Root(mac.root()), nullptr), std::nullopt);
}

} // namespace
} // namespace sentravex
