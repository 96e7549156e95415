#include "view/WindowAlerts.h"

#include "view/FailureDetails.h"
#include "view/ThreatTable.h"

#include <gtest/gtest.h>

using namespace sentravex;

TEST(FailureDetails, OneLinePerPathWhateverItsName) {
    EXPECT_EQ(failureDetailsText({}), "");
    // A name with a line break, a tab or another control character stays on its own line.
    EXPECT_EQ(failureDetailsText({{"/Library/Logs/Quorvane.log", "unlink: Permission denied"},
                                  {"/tmp/a\nb\tc\x01", "why\nnot"}}),
              "/Library/Logs/Quorvane.log  (unlink: Permission denied)\n"
              "/tmp/a\\nb\\tc\\x01  (why\\nnot)");
    // Names are bytes: invalid UTF-8 passes through for the window to show as it can.
    EXPECT_EQ(failureDetailsText({{"/tmp/\xff", "x"}}), "/tmp/\xff  (x)");
}

TEST(FailureDetails, AHugeListIsCutWithACount) {
    std::vector<FailedPath> many(maxFailureLines + 5, {"/p", "r"});
    const auto text = failureDetailsText(many);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), long(maxFailureLines));
    EXPECT_TRUE(text.ends_with("/p  (r)\n… and 5 more")) << text.substr(text.size() - 40);
    many.resize(maxFailureLines);
    EXPECT_EQ(failureDetailsText(many).find("more"), std::string::npos);
}

TEST(WindowAlerts, NotRemovedOpensOnItsDetails) {
    const auto one = notRemovedAlert({{"/Library/Logs/Quorvane.log", "unlink: Busy"}});
    EXPECT_EQ(one.messageText, "1 Threat Not Removed");
    EXPECT_EQ(one.details, "/Library/Logs/Quorvane.log  (unlink: Busy)");
    EXPECT_TRUE(one.detailsShown);
    EXPECT_TRUE(one.buttons.empty());
    EXPECT_EQ(notRemovedAlert({{"/a", "x"}, {"/b", "y"}}).messageText, "2 Threats Not Removed");

    const auto help = helpNotOpenedAlert("http://localhost:8765/");
    EXPECT_NE(help.informativeText.find("http://localhost:8765/"), std::string::npos);
    EXPECT_TRUE(help.details.empty());
    const auto folder = folderNotShownAlert("/srv/mac/Library/Logs/Quorvane.log");
    EXPECT_NE(folder.informativeText.find("/srv/mac/Library/Logs/Quorvane.log"), std::string::npos);
}

TEST(ThreatTable, ColumnsShareTheWidth) {
    struct Case {
        int width, name, action, path;
    };
    const Case cases[] = {
        {500, 200, 130, 200},  // narrower than the columns: the table scrolls sideways
        {680, 217, 130, 333},  // the smallest window
        {820, 262, 130, 428},  // the window at its first size
        {1600, 380, 130, 1090} // a wide window: the name stops growing, the path takes the rest
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        const auto w = threatColumnWidths(c.width);
        EXPECT_EQ(w.name, c.name);
        EXPECT_EQ(w.action, c.action);
        EXPECT_EQ(w.path, c.path);
    }
}

TEST(ThreatTable, TheFirstRowLeftBehindIsTheOneShown) {
    EXPECT_EQ(firstNotRemovedRow({}), -1);
    EXPECT_EQ(firstNotRemovedRow({"Removed", "Removed"}), -1);
    EXPECT_EQ(firstNotRemovedRow({"No Action", "Removed", "Not Removed", "Not Removed"}), 2);
    EXPECT_TRUE(threatRowNotRemoved("Not Removed"));
    EXPECT_FALSE(threatRowNotRemoved("Removed"));
    EXPECT_FALSE(threatRowNotRemoved("No Action"));
}
