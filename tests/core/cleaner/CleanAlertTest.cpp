#include "cleaner/CleanAlert.h"

#include "cleaner/CleanProgressText.h"

#include <gtest/gtest.h>

using namespace sentravex;

TEST(CleanAlert, SuccessOnlyWhenNothingFailedAndNothingWasStopped) {
    struct Case {
        std::size_t deleted;
        std::size_t failed;
        bool cancelled;
        std::uint64_t entries;
        std::int64_t bytes;
        std::string text;
    };
    const Case cases[] = {
        {0, 0, false, 0, 0, "You have successfully cleared selected data."},
        {3, 0, false, 9, 4096, "You have successfully cleared selected data."},
        {2, 1, false, 2, 0,
         "1 path could not be removed; the rest of the selected data was cleared."},
        {0, 4, false, 0, 0,
         "4 paths could not be removed; the rest of the selected data was cleared."},
        {1, 0, true, 12345, 56'700'000,
         "Cleaning stopped: 12,345 entries (56.7 MB) were removed; the rest of the selected "
         "data is still there."},
        {0, 0, true, 1, 4096,
         "Cleaning stopped: 1 entry (4 KB) was removed; the rest of the selected data is still "
         "there."},
        {0, 2, true, 0, 0,
         "Cleaning stopped: 0 entries (0 byte) were removed; the rest of the selected data is "
         "still there. 2 paths could not be removed."},
    };
    for (const auto& c : cases) {
        CleanReport report;
        report.deleted.assign(c.deleted, "/Users/alice/x");
        report.failed.assign(c.failed, {"/Users/alice/y", "Operation not permitted"});
        report.cancelled = c.cancelled;
        report.entries = c.entries;
        report.bytes = c.bytes;
        EXPECT_EQ(cleanAlertText(report), c.text);
    }
    EXPECT_STREQ(cleanAlertMessage, "Alert");

    CleanReport report;
    report.failed.assign(1, {"/Users/alice/y", "Operation not permitted"});
    EXPECT_EQ(cleanAlertText(report, {{"Chrome", "Google Chrome", {}}}),
              "1 path could not be removed; the rest of the selected data was cleared. Google "
              "Chrome did not quit, so its data was not cleaned.");
}

TEST(CleanAlert, DetailsNameEveryFailedPathWithItsReason) {
    CleanReport report;
    EXPECT_EQ(cleanAlertDetails(report), "");
    report.deleted = {"/Users/alice/Library/Caches"};
    report.failed = {{"/Users/alice/Library/Logs", "rmdir: Directory not empty"},
                     {"/Users/alice/.Trash/a\nb", "unlink: Permission denied"}};
    EXPECT_EQ(cleanAlertDetails(report), "/Users/alice/Library/Logs  (rmdir: Directory not empty)\n"
                                         "/Users/alice/.Trash/a\\nb  (unlink: Permission denied)");
}

TEST(CleanProgressText, CountsEntriesAndBytesAndSaysWhenItStops) {
    EXPECT_EQ(cleanProgressText({}, false), "Removing the selected data…\nNothing removed yet");
    EXPECT_EQ(cleanProgressText({1, 4096}, false),
              "Removing the selected data…\n1 entry, 4 KB removed");
    EXPECT_EQ(cleanProgressText({600000, 2'457'600'000}, true),
              "Stopping after the current entry…\n600,000 entries, 2.46 GB removed");
    EXPECT_EQ(entriesText(999), "999 entries");
    EXPECT_EQ(entriesText(1000), "1,000 entries");
    EXPECT_EQ(entriesText(1234567), "1,234,567 entries");
}
