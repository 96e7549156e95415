#include "cleaner/CheckBoxRules.h"

#include "cleaner/Cleaner.h"

#include <gtest/gtest.h>

namespace sentravex {
namespace {

using S = CheckState;

// The grouped "Browser Extensions" shape: two groups and the reset row.
CleanerCategory grouped() {
    CleanerCategory c;
    c.Name = "Browser Extensions";
    c.isFromAdware = true;
    c.List = {Cleaner::getDicForList({}, "Safari Extensions", true),
              Cleaner::getDicForList({"/s1"}, "S1", true),
              Cleaner::getDicForList({"/s2"}, "S2", true),
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

TEST(CheckItem, FlatListChangesOnlyTheFirstRowOfThatName) {
    CleanerCategory c;
    c.List = {Cleaner::getDicForList({"/a"}, "Same", false),
              Cleaner::getDicForList({"/b"}, "Same", false)};
    EXPECT_EQ(checkItem(c, "Same", S::Mixed), S::On);
    EXPECT_EQ(states(c), (std::vector<S>{S::On, S::Off}));
    EXPECT_EQ(c.isChecked, S::Off) << "the category waits for the detail table to close";
    EXPECT_FALSE(checkItem(c, "Other", S::On));
}

struct GroupCase {
    const char* name;
    std::vector<std::pair<std::string, S>> clicks;
    std::vector<S> expected;
};

TEST(CheckItem, GroupedListPropagatesBetweenHeadingAndGroup) {
    const GroupCase cases[] = {
        {"heading checks its group only",
         {{"Safari Extensions", S::On}},
         {S::On, S::On, S::On, S::Off, S::Off, S::Off}},
        {"unchecking one of a full group makes the heading mixed",
         {{"Safari Extensions", S::On}, {"S2", S::Off}},
         {S::Mixed, S::On, S::Off, S::Off, S::Off, S::Off}},
        {"unchecking the last checked row turns the heading off",
         {{"S1", S::On}, {"S1", S::Off}},
         {S::Off, S::Off, S::Off, S::Off, S::Off, S::Off}},
        {"checking every row turns the heading on",
         {{"S1", S::On}, {"S2", S::On}},
         {S::On, S::On, S::On, S::Off, S::Off, S::Off}},
        {"a group of one", {{"F1", S::On}}, {S::Off, S::Off, S::Off, S::On, S::On, S::Off}},
        {"the reset row changes nothing else",
         {{"Reset Browsers Preferences to Defaults", S::On}},
         {S::Off, S::Off, S::Off, S::Off, S::Off, S::On}},
        {"a mixed heading clicked turns on with its group",
         {{"S1", S::On}, {"Safari Extensions", S::Mixed}},
         {S::On, S::On, S::On, S::Off, S::Off, S::Off}},
    };
    for (const auto& c : cases) {
        auto category = grouped();
        for (const auto& [name, state] : c.clicks)
            ASSERT_TRUE(checkItem(category, name, state)) << c.name;
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
