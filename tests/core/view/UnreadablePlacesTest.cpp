#include "view/UnreadablePlaces.h"

#include <gtest/gtest.h>

namespace sentravex {
namespace {

TEST(UnreadablePlaces, ASizeLeavingPlacesOutSaysSo) {
    const std::vector<std::string> none, one{"/Users/a/Library/Safari/History.db"};
    EXPECT_EQ(sizeTextWithAccess("0 byte", none), "0 byte");
    EXPECT_EQ(sizeTextWithAccess("0 byte", one), "0 byte · no access");
    EXPECT_EQ(unreadableTip(none), "");
    EXPECT_EQ(unreadableTip({"/a", "/b"}),
              "Sentravex may not read these, so their size is left out:\n/a\n/b");
}

TEST(UnreadablePlaces, TheTerminalLineCountsAndNamesTheFirst) {
    EXPECT_EQ(unreadablePlacesLine({"/a"}),
              "1 place could not be read (no permission) and is left out, first /a; on a Mac, "
              "Full Disk Access in System Settings grants it");
    EXPECT_EQ(unreadablePlacesLine({"/a", "/b"}).substr(0, 56),
              "2 places could not be read (no permission) and are left ");
}

} // namespace
} // namespace sentravex
