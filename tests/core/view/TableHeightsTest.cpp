#include "view/TableHeights.h"

#include <gtest/gtest.h>

using namespace sentravex;

TEST(CategoryTableHeight, GrowsByRowThenStopsJustUnderFiveRows) {
    struct Case {
        std::size_t categories;
        int height;
        bool hidden;
        int minimum; // in a window too short for `height`
    };
    const Case cases[] = {{0, 91, true, 91},    {1, 90, false, 90},   {2, 165, false, 165},
                          {5, 390, false, 165}, {6, 389, false, 165}, {7, 389, false, 165},
                          {40, 389, false, 165}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.categories);
        EXPECT_EQ(categoryTableHeight(c.categories), c.height);
        EXPECT_EQ(categoryTableHidden(c.categories), c.hidden);
        EXPECT_EQ(categoryTableMinimumHeight(c.categories), c.minimum);
    }
}

TEST(SelectionTableHeight, ShowsAtMostSixGroupedOrFourPlainRows) {
    struct Case {
        std::size_t items;
        bool grouped;
        int height;
    };
    const Case cases[] = {{0, false, 2},   {0, true, 2},   {3, false, 152}, {4, false, 202},
                          {9, false, 202}, {5, true, 182}, {6, true, 218},  {30, true, 218}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.items << (c.grouped ? " grouped" : " plain"));
        EXPECT_EQ(selectionTableHeight(c.items, c.grouped), c.height);
    }
    EXPECT_EQ(selectionRowHeight(true), 36);
    EXPECT_EQ(selectionRowHeight(false), 50);
}
