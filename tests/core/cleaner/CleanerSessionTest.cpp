// The cleaner session: its build hands each category to the owner's thread, and the check rules
// act on its list.
#include "cleaner/CleanerSession.h"

#include "MacFixture.h"
#include "cleaner/DetailsLine.h"
#include "demo/CleanerDemo.h"

#include <condition_variable>
#include <deque>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace sentravex {
namespace {

using test::MacFixture;
using S = CheckState;

// The owner's thread, which is the test's: each wake from the build waits here until run.
class Owner {
public:
    CleanerSession::Wake wake() {
        return [this] {
            std::lock_guard lock(mutex_);
            ++wakes_;
            changed_.notify_all();
        };
    }
    // Waits for the next wake without delivering.
    void waitForWake() {
        std::unique_lock lock(mutex_);
        ASSERT_TRUE(changed_.wait_for(lock, std::chrono::seconds(20), [this] {
            return wakes_ > 0;
        })) << "the build never woke its owner";
    }
    // Delivers at each wake until `done` holds.
    template <class Done> void runUntil(CleanerSession& session, Done done) {
        while (!done()) {
            waitForWake();
            {
                std::lock_guard lock(mutex_);
                --wakes_;
            }
            session.deliver();
        }
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int wakes_ = 0;
};

struct Heard {
    std::vector<std::size_t> listSizes; // the list's size at each hand-off
    int done = 0;
    std::thread::id thread;
};

struct Session {
    explicit Session(const MacFixture& mac)
        : fs(mac.fileSystem()), session(fs, mac.user(), owner.wake(),
                                        {[this] {
                                             heard.listSizes.push_back(session.categories().size());
                                             heard.thread = std::this_thread::get_id();
                                         },
                                         [this] { ++heard.done; }}) {}
    void build() {
        ASSERT_TRUE(session.startBuild());
        owner.runUntil(session, [this] { return session.isDone(); });
    }
    int row(const std::string& name) const {
        const auto& list = session.categories();
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i].Name == name)
                return static_cast<int>(i);
        return -1;
    }
    LocalFileSystem fs;
    Owner owner;
    Heard heard;
    CleanerSession session;
};

void writeDemo(const MacFixture& mac) {
    ASSERT_TRUE(writeDemoFiles(mac.root(), mac.user(), cleanerDemoFiles()));
}

TEST(CleanerSession, BuildHandsEachCategoryToTheOwnerThreadInOrder) {
    MacFixture mac("demo");
    writeDemo(mac);
    Session s(mac);
    EXPECT_TRUE(s.session.mayStartBuild());
    ASSERT_TRUE(s.session.startBuild());
    EXPECT_TRUE(s.session.isBuilding());
    EXPECT_FALSE(s.session.mayStartBuild()) << "one build at a time";
    EXPECT_FALSE(s.session.mayClean());
    // The build waits for the owner: nothing joins the list before the owner runs it.
    s.owner.waitForWake();
    EXPECT_TRUE(s.session.categories().empty());
    s.session.deliver();
    EXPECT_EQ(s.session.categories().size(), 1u);
    s.session.deliver(); // a second call before the next wake finds nothing waiting
    s.owner.runUntil(s.session, [&] { return s.session.isDone(); });

    EXPECT_EQ(s.heard.listSizes, (std::vector<std::size_t>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(s.heard.thread, std::this_thread::get_id());
    EXPECT_EQ(s.heard.done, 1);
    EXPECT_FALSE(s.session.isBuilding());
    const auto expected = Cleaner(s.fs, mac.user()).availbleApp();
    ASSERT_EQ(s.session.categories().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(s.session.categories()[i].Name, expected[i].Name);
        EXPECT_EQ(s.session.categories()[i].bytes, expected[i].bytes);
    }
    // A complete list is not built again until it has been cleaned.
    EXPECT_FALSE(s.session.startBuild());
    EXPECT_TRUE(s.session.mayClean());
    s.session.listCleaned();
    EXPECT_TRUE(s.session.mayStartBuild());
}

TEST(CleanerSession, AbsentApplicationsHandOnNothing) {
    MacFixture mac;
    Session s(mac);
    s.build();
    // Every collector hands on, the absent ones with nothing for the list.
    EXPECT_EQ(s.heard.listSizes, (std::vector<std::size_t>{0, 0, 0, 1, 2, 2, 2}));
    ASSERT_EQ(s.session.categories().size(), 2u);
    EXPECT_EQ(s.session.categories()[0].Name, "Browser Extensions");
    EXPECT_EQ(s.session.categories()[1].Name, "System");
}

TEST(CleanerSession, ChecksActOnTheListAndTheOpenCategory) {
    MacFixture mac("demo");
    writeDemo(mac);
    Session s(mac);
    s.build();
    auto& session = s.session;
    EXPECT_FALSE(session.removeEnabled());
    EXPECT_FALSE(session.checkCategory(-1, S::On));
    EXPECT_FALSE(session.checkCategory(static_cast<int>(session.categories().size()), S::On));
    EXPECT_FALSE(session.checkItem(0, S::On)) << "no category is open";
    EXPECT_FALSE(session.open(99));
    EXPECT_EQ(session.openCategory(), nullptr);

    const int safari = s.row("Safari");
    ASSERT_TRUE(session.open(safari));
    EXPECT_EQ(session.openCategory(), &session.categories()[static_cast<std::size_t>(safari)]);
    const auto rows = static_cast<int>(session.openCategory()->List.size());
    EXPECT_TRUE(session.checkItem(0, S::On));
    EXPECT_FALSE(session.checkItem(-1, S::On));
    EXPECT_FALSE(session.checkItem(rows, S::On));
    EXPECT_EQ(session.openCategory()->isChecked, S::Off) << "the category waits for the close";
    session.close();
    EXPECT_EQ(session.openCategory(), nullptr);
    EXPECT_EQ(session.categories()[static_cast<std::size_t>(safari)].isChecked, S::Mixed);
    EXPECT_TRUE(session.removeEnabled());

    EXPECT_TRUE(session.checkCategory(safari, S::Off));
    EXPECT_FALSE(session.removeEnabled());

    // A new build starts from an empty list with nothing open.
    ASSERT_TRUE(session.open(safari));
    session.listCleaned();
    ASSERT_TRUE(session.startBuild());
    EXPECT_TRUE(session.categories().empty());
    EXPECT_EQ(session.openRow(), -1);
    EXPECT_FALSE(session.removeEnabled());
    s.owner.runUntil(session, [&] { return session.isDone(); });
    EXPECT_EQ(session.categories().size(), 7u);
}

// The session goes while its build waits for the owner, after any number of hand-offs.
TEST(CleanerSession, GoingDuringABuildEndsItsWait) {
    MacFixture mac("demo");
    writeDemo(mac);
    for (int handOffs = 0; handOffs < 3; ++handOffs) {
        int heard = 0;
        const auto fs = mac.fileSystem();
        Owner owner;
        {
            CleanerSession session(fs, mac.user(), owner.wake(),
                                   {[&] { ++heard; }, [&] { ++heard; }});
            ASSERT_TRUE(session.startBuild());
            owner.runUntil(session, [&] { return heard == handOffs; });
            owner.waitForWake();
        }
        EXPECT_EQ(heard, handOffs);
    }
}

TEST(DetailsLine, NamesWhatTheCategoryHolds) {
    struct Case {
        const char* category;
        std::vector<std::string> items;
        const char* line;
    };
    const Case cases[] = {
        {"Safari", {"Cookies", "History", "Downloads"}, "Cookies, History, Downloads"},
        {"Mail", {"Mail Downloads"}, "Mail Downloads"},
        {"Flash", {}, ""},
        {"Chrome",
         {"Cookies"},
         "Cookies, Visited Links, History, Login Data, LastSession, User preferences, Favicons, "
         "Top Sites, Local Storage"},
        {"Browser Extensions", {"Safari Extensions"}, "Browser extensions, Preferences"},
    };
    for (const auto& c : cases) {
        CleanerCategory category;
        category.Name = c.category;
        for (const auto& name : c.items)
            category.List.push_back(Cleaner::getDicForList({"/" + name}, name, false));
        EXPECT_EQ(detailsLineOf(category), c.line) << c.category;
    }
}

} // namespace
} // namespace sentravex
