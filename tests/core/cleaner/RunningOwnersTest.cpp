#include "cleaner/RunningOwners.h"

#include "FakeProcesses.h"
#include "cleaner/CheckBoxRules.h"
#include "cleaner/Cleaner.h"

#include <gtest/gtest.h>

namespace sentravex {
namespace {

using test::FakeProcesses;

CleanerCategory category(std::string name, CheckState checked = CheckState::On) {
    CleanerCategory c;
    c.Name = std::move(name);
    c.List = {Cleaner::getDicForList({"/a"}, "Cookies", false),
              Cleaner::getDicForList({"/b"}, "History", false)};
    checkCategory(c, checked);
    return c;
}

std::vector<std::string> applications(const std::vector<RunningOwner>& owners) {
    std::vector<std::string> names;
    for (const auto& o : owners)
        names.push_back(o.application);
    return names;
}

TEST(RunningOwners, CheckedCategoriesWhoseApplicationRuns) {
    struct Case {
        const char* what;
        FakeProcesses running;
        std::vector<CleanerCategory> categories;
        bool systemRoot;
        std::vector<std::string> expected;
    };
    auto mixed = category("Firefox", CheckState::Off);
    mixed.List[0].isChecked = CheckState::On;
    const Case cases[] = {
        {"nothing runs", FakeProcesses().with("bash"), {category("Chrome")}, true, {}},
        {"Linux names",
         FakeProcesses().with("chrome").with("firefox-esr"),
         {category("Chrome"), category("Firefox"), category("System")},
         true,
         {"Google Chrome", "Firefox"}},
        {"macOS bundle identifiers, helpers left out",
         FakeProcesses()
             .with("Google Chrome Helper (Renderer)", "com.google.Chrome.helper.renderer")
             .with("Mail", "com.apple.mail"),
         {category("Chrome"), category("Mail")},
         true,
         {"Mail"}},
        {"a name alone does not stand for another bundle",
         FakeProcesses().with("Safari", "x.y"),
         {category("Safari")},
         true,
         {}},
        {"unchecked category",
         FakeProcesses().with("chrome"),
         {category("Chrome", CheckState::Off)},
         true,
         {}},
        {"one item checked", FakeProcesses().with("firefox"), {mixed}, true, {"Firefox"}},
        {"another disk", FakeProcesses().with("chrome"), {category("Chrome")}, false, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(applications(runningOwners(c.categories, c.running.running(), c.systemRoot)),
                  c.expected)
            << c.what;
}

TEST(RunningOwners, AlertTextNamesEveryApplication) {
    auto owners = [](std::vector<std::string> names) {
        std::vector<RunningOwner> out;
        for (auto& n : names)
            out.push_back({"x", n, {}});
        return out;
    };
    EXPECT_EQ(runningOwnersText(owners({"Google Chrome"})),
              "Google Chrome is running. Quit it before cleaning, or it may write back what is "
              "deleted.");
    EXPECT_EQ(runningOwnersText(owners({"Safari", "Firefox"})),
              "Safari and Firefox are running. Quit them before cleaning, or they may write back "
              "what is deleted.");
    EXPECT_EQ(runningOwnersText(owners({"Safari", "Google Chrome", "Mail"})),
              "Safari, Google Chrome and Mail are running. Quit them before cleaning, or they may "
              "write back what is deleted.");
    EXPECT_EQ(quitWaitText(owners({"Safari", "Mail"})), "Waiting for Safari and Mail to quit…");
    EXPECT_EQ(stillRunningText(owners({"Google Chrome"})),
              "Google Chrome did not quit, so its data was not cleaned.");
    EXPECT_EQ(stillRunningText(owners({"Safari", "Mail"})),
              "Safari and Mail did not quit, so their data was not cleaned.");
}

TEST(RunningOwners, WhatStillRunsIsLeftOutOfTheCleanAndNothingElse) {
    auto firefox = category("Firefox", CheckState::Off);
    firefox.List[1].isChecked = CheckState::On;
    std::vector<CleanerCategory> categories{category("Chrome"), firefox, category("Safari")};
    const auto owners =
        runningOwners(categories, FakeProcesses().with("chrome").with("firefox").running(), true);
    leaveOut(categories, owners);
    EXPECT_TRUE(
        runningOwners(categories, FakeProcesses().with("chrome").with("firefox").running(), true)
            .empty());
    for (const auto& c : categories)
        for (const auto& item : c.List)
            EXPECT_EQ(item.isChecked, c.Name == "Safari" ? CheckState::On : CheckState::Off)
                << c.Name << " " << item.NameText;
}

TEST(RunningOwners, QuitAndWaitGivesEachTenSecondsAndAnswersWhoStayed) {
    struct Case {
        const char* what;
        int chromeQuitsAfterPolls; // -1: never
        std::vector<std::string> still;
        std::chrono::milliseconds waited;
    };
    const Case cases[] = {
        {"quits at once", 0, {"Firefox"}, quitPatience},
        {"quits in time", 3, {"Firefox"}, quitPatience},
        {"refuses to quit", -1, {"Google Chrome", "Firefox"}, quitPatience},
    };
    for (const auto& c : cases) {
        FakeProcesses processes;
        processes.with("chrome").with("chrome").with("firefox");
        auto owners =
            runningOwners({category("Chrome"), category("Firefox")}, processes.running(), true);
        ASSERT_EQ(owners.size(), 2u);
        int polls = 0;
        std::chrono::milliseconds waited{0};
        auto still = quitAndWait(owners, processes, [&](std::chrono::milliseconds pause) {
            waited += pause;
            if (++polls == c.chromeQuitsAfterPolls || c.chromeQuitsAfterPolls == 0)
                std::erase_if(processes.processes,
                              [](const RunningProcess& p) { return p.name == "chrome"; });
        });
        EXPECT_EQ(applications(still), c.still) << c.what;
        EXPECT_EQ(waited, c.waited) << c.what << ": Firefox never quits, so the wait is whole";
        EXPECT_EQ(processes.quitRequests, (std::vector<long>{100, 101, 102})) << c.what;
    }

    FakeProcesses quitting;
    quitting.with("chrome");
    quitting.onQuit = [&quitting](const RunningProcess&) { quitting.processes.clear(); };
    std::chrono::milliseconds waited{0};
    auto still = quitAndWait(runningOwners({category("Chrome")}, quitting.running(), true),
                             quitting, [&](std::chrono::milliseconds pause) { waited += pause; });
    EXPECT_TRUE(still.empty());
    EXPECT_EQ(waited.count(), 0) << "no wait once everything has quit";
}

} // namespace
} // namespace sentravex
