#include "access/FullDiskAccess.h"

#include "FaultyFileSystem.h"
#include "MacFixture.h"
#include "platform/Workspace.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace sentravex {
namespace {

using test::FaultyFileSystem;
using test::MacFixture;

struct ProbeCase {
    const char* what;
    std::map<std::string, int> denied; // under the home folder unless absolute
    bool present;                      // the protected places exist and can be read
    FullDiskAccess expected;
};

TEST(FullDiskAccess, ARefusedProbeMeansTheGrantIsMissing) {
    const ProbeCase cases[] = {
        {"Safari's bookmarks refused", {{"/Library/Safari", EPERM}}, true, FullDiskAccess::Missing},
        {"Mail's container refused",
         {{"/Library/Containers/com.apple.mail", EACCES}},
         false,
         FullDiskAccess::Missing},
        {"the system's privacy database refused",
         {{"=/Library/Application Support/com.apple.TCC", EPERM}},
         false,
         FullDiskAccess::Missing},
        {"nothing there", {}, false, FullDiskAccess::NothingToAsk},
        {"everything readable", {}, true, FullDiskAccess::NothingToAsk},
        {"another fault is no refusal",
         {{"/Library/Safari", ELOOP}, {"/Library/Mail", EIO}},
         true,
         FullDiskAccess::NothingToAsk},
    };
    for (const auto& c : cases) {
        MacFixture mac;
        if (c.present)
            mac.file(mac.home("/Library/Safari/Bookmarks.plist"), "b")
                .folder(mac.home("/Library/Mail/V10"))
                .folder(mac.home("/Library/Containers/com.apple.mail/Data"));
        auto local = mac.fileSystem();
        FaultyFileSystem fs(local);
        for (const auto& [place, error] : c.denied)
            fs.denied[place.starts_with('=') ? place.substr(1) : mac.home(place)] = error;
        EXPECT_EQ(probeFullDiskAccess(fs, mac.user()), c.expected) << c.what;
        EXPECT_EQ(fullDiskAccess(fs, mac.user(), true, true), c.expected) << c.what;
    }
}

TEST(FullDiskAccess, OnlyThisMacsOwnDiskIsAsked) {
    MacFixture mac;
    auto local = mac.fileSystem();
    FaultyFileSystem fs(local);
    fs.denied[mac.home("/Library/Safari")] = EPERM;
    EXPECT_EQ(fullDiskAccess(fs, mac.user(), true, true), FullDiskAccess::Missing);
    EXPECT_EQ(fullDiskAccess(fs, mac.user(), false, true), std::nullopt) << "another root";
    EXPECT_EQ(fullDiskAccess(fs, mac.user(), true, false), std::nullopt) << "another system";
}

struct NoticeCase {
    std::optional<FullDiskAccess> access;
    long answer;
    bool goesOn;
    bool asked;
    bool opened;
};

TEST(FullDiskAccessNotice, OnlyAMissingGrantAsksAndSystemSettingsHoldsTheWorkBack) {
    struct Alerts : AlertPanel {
        long runModal(const AlertMessage& alert) override {
            shown.push_back(alert);
            return answer;
        }
        long answer = 0;
        std::vector<AlertMessage> shown;
    };
    struct Desktop : Workspace {
        std::vector<RunningApplication> runningApplications() const override { return {}; }
        void terminate(const RunningApplication&) override {}
        bool openURL(const std::string& url) override {
            opened.push_back(url);
            return true;
        }
        bool selectFile(const std::string&) override { return true; }
        std::vector<std::string> opened;
    };
    const NoticeCase cases[] = {
        {std::nullopt, kAlertFirstButtonReturn, true, false, false},
        {FullDiskAccess::NothingToAsk, kAlertFirstButtonReturn, true, false, false},
        {FullDiskAccess::Missing, kAlertSecondButtonReturn, true, true, false},
        {FullDiskAccess::Missing, kAlertFirstButtonReturn, false, true, true},
    };
    for (const auto& c : cases) {
        Alerts alerts;
        alerts.answer = c.answer;
        Desktop desktop;
        EXPECT_EQ(goOnWithoutFullDiskAccess(c.access, alerts, desktop), c.goesOn);
        ASSERT_EQ(alerts.shown.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(alerts.shown[0].informativeText,
                      "Sentravex needs Full Disk Access to see Safari, Mail and other "
                      "applications' data. Once it is granted, quit and reopen Sentravex.");
            EXPECT_EQ(alerts.shown[0].buttons,
                      (std::vector<std::string>{"Open System Settings", "Continue"}));
        }
        EXPECT_EQ(desktop.opened,
                  c.opened ? std::vector<std::string>{"x-apple.systempreferences:com.apple."
                                                      "preference.security?Privacy_AllFiles"}
                           : std::vector<std::string>{});
    }
}

} // namespace
} // namespace sentravex
