#include "cleaner/CheckBoxRules.h"

#include "cleaner/Cleaner.h"

#include <gtest/gtest.h>

namespace sentravex {
namespace {

using S = CheckState;

// The grouped "Browser Extensions" shape: three groups, one of two rows of the same name (one
// add-on in two profiles), and the reset row.
enum Row : std::size_t { SafariHead, S1, S2, ChromeHead, Same1, Same2, FirefoxHead, F1, Reset };

CleanerCategory grouped() {
    CleanerCategory c;
    c.Name = "Browser Extensions";
    c.isFromAdware = true;
    c.List = {Cleaner::getDicForList({}, "Safari Extensions", true),
              Cleaner::getDicForList({"/s1"}, "S1", true),
              Cleaner::getDicForList({"/s2"}, "S2", true),
              Cleaner::getDicForList({}, "Google Chrome Extensions", true),
              Cleaner::getDicForList({"/p1/same"}, "Same v1", true),
              Cleaner::getDicForList({"/p2/same"}, "Same v1", true),
              Cleaner::getDicForList({}, "Firefox Extensions", true),
              Cleaner::getDicForList({"/f1"}, "F1", true),
              Cleaner::getDicForList({"/p"}, "Reset Browsers Preferences to Defaults", true)};
    c.List.back().isHeader = false;
    return c;
}

std::vector<S> states(const CleanerCategory& c) {
    std::vector<S> out;
    for (const auto& i : c.List)
        out.push_back(i.isChecked);
    return out;
}

TEST(CheckCategory, SetsEveryItemAndAMixedBoxTurnsOn) {
    CleanerCategory c;
    c.List = {Cleaner::getDicForList({"/a"}, "A", false), Cleaner::getDicForList({}, "B", false)};
    c.List[1].isEnabled = false;
    EXPECT_EQ(checkCategory(c, S::Mixed), S::On);
    EXPECT_EQ(states(c), (std::vector<S>{S::On, S::On}));
    EXPECT_EQ(c.isChecked, S::On);
    EXPECT_EQ(checkCategory(c, S::Off), S::Off);
    EXPECT_EQ(states(c), (std::vector<S>{S::Off, S::Off}));
}

TEST(CheckItem, FlatListChangesOnlyTheRowAtItsPlace) {
    CleanerCategory c;
    c.List = {Cleaner::getDicForList({"/a"}, "Same", false),
              Cleaner::getDicForList({"/b"}, "Same", false)};
    EXPECT_EQ(checkItem(c, 1, S::Mixed), S::On);
    EXPECT_EQ(states(c), (std::vector<S>{S::Off, S::On})) << "names repeat; places do not";
    EXPECT_EQ(c.isChecked, S::Off) << "the category waits for the detail table to close";
    EXPECT_FALSE(checkItem(c, 2, S::On));
    EXPECT_EQ(states(c), (std::vector<S>{S::Off, S::On}));
}

struct GroupCase {
    const char* name;
    std::vector<std::pair<Row, S>> clicks;
    std::vector<S> expected;
};

TEST(CheckItem, GroupedListPropagatesBetweenHeadingAndGroup) {
    constexpr S o = S::Off;
    const GroupCase cases[] = {
        {"heading checks its group only",
         {{SafariHead, S::On}},
         {S::On, S::On, S::On, o, o, o, o, o, o}},
        {"unchecking one of a full group makes the heading mixed",
         {{SafariHead, S::On}, {S2, S::Off}},
         {S::Mixed, S::On, o, o, o, o, o, o, o}},
        {"unchecking the last checked row turns the heading off",
         {{S1, S::On}, {S1, S::Off}},
         {o, o, o, o, o, o, o, o, o}},
        {"checking every row turns the heading on",
         {{S1, S::On}, {S2, S::On}},
         {S::On, S::On, S::On, o, o, o, o, o, o}},
        {"a group of one", {{F1, S::On}}, {o, o, o, o, o, o, S::On, S::On, o}},
        {"the reset row changes nothing else", {{Reset, S::On}}, {o, o, o, o, o, o, o, o, S::On}},
        {"a mixed heading clicked turns on with its group",
         {{S1, S::On}, {SafariHead, S::Mixed}},
         {S::On, S::On, S::On, o, o, o, o, o, o}},
        {"the second of two equal rows is checked alone",
         {{Same2, S::On}},
         {o, o, o, S::Mixed, o, S::On, o, o, o}},
        {"both equal rows checked, one at a time",
         {{Same2, S::On}, {Same1, S::On}},
         {o, o, o, S::On, S::On, S::On, o, o, o}},
        {"unchecking the first of two equal rows keeps the second",
         {{ChromeHead, S::On}, {Same1, S::Off}},
         {o, o, o, S::Mixed, o, S::On, o, o, o}},
    };
    for (const auto& c : cases) {
        auto category = grouped();
        for (const auto& [row, state] : c.clicks)
            ASSERT_TRUE(checkItem(category, row, state)) << c.name;
        EXPECT_EQ(states(category), c.expected) << c.name;
    }
}

TEST(CategoryStateFromItems, AllNoneOrSome) {
    auto c = grouped();
    EXPECT_EQ(categoryStateFromItems(c), S::Off);
    checkCategory(c, S::On);
    EXPECT_EQ(categoryStateFromItems(c), S::On);
    c.List[0].isChecked = S::Mixed; // a mixed heading among checked rows
    EXPECT_EQ(categoryStateFromItems(c), S::Mixed);
    EXPECT_EQ(categoryStateFromItems(CleanerCategory{}), S::On) << "an empty list";
}

TEST(RemoveButtonEnabled, AnyCategoryOnOrMixed) {
    std::vector<CleanerCategory> list(2);
    EXPECT_FALSE(removeButtonEnabled(list));
    list[1].isChecked = S::Mixed;
    EXPECT_TRUE(removeButtonEnabled(list));
}

} // namespace
} // namespace sentravex
