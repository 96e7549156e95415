#include "view/CleanAlert.h"

#include <gtest/gtest.h>

using namespace sentravex;

TEST(CleanAlert, SuccessOnlyWhenNothingFailed) {
    struct Case {
        std::size_t deleted;
        std::size_t failed;
        std::string text;
    };
    const Case cases[] = {
        {0, 0, "You have successfully cleared selected data."},
        {3, 0, "You have successfully cleared selected data."},
        {2, 1, "1 path could not be removed; the rest of the selected data was cleared."},
        {0, 4, "4 paths could not be removed; the rest of the selected data was cleared."},
    };
    for (const auto& c : cases) {
        CleanReport report;
        report.deleted.assign(c.deleted, "/Users/alice/x");
        report.failed.assign(c.failed, {"/Users/alice/y", "Operation not permitted"});
        EXPECT_EQ(cleanAlertText(report), c.text);
    }
    EXPECT_STREQ(cleanAlertMessage, "Alert");
}
