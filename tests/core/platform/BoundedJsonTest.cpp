#include "platform/BoundedJson.h"

#include <gtest/gtest.h>

namespace sentravex {
namespace {

std::string nested(std::size_t depth, std::string_view open, std::string_view close) {
    std::string text;
    text.reserve(depth * (open.size() + close.size()) + 1);
    for (std::size_t i = 0; i < depth; ++i)
        text += open;
    text += "1";
    for (std::size_t i = 0; i < depth; ++i)
        text += close;
    return text;
}

struct Nesting {
    const char* name;
    std::string_view open, close;
    std::size_t levels; // per repetition of open
};

class BoundedJsonNesting : public testing::TestWithParam<Nesting> {};

TEST_P(BoundedJsonNesting, TakesTheLimitAndRejectsDeeper) {
    const auto& [name, open, close, levels] = GetParam();
    auto atLimit = parseBoundedJson(nested(maxJsonDepth / levels, open, close));
    ASSERT_TRUE(atLimit);
    // The value built at the limit survives a copy and printing, which recurse.
    auto copy = *atLimit;
    EXPECT_FALSE(copy.dump().empty());
    EXPECT_FALSE(parseBoundedJson(nested(maxJsonDepth / levels + 1, open, close)));
}

TEST_P(BoundedJsonNesting, AMillionLevelsAreRejectedWithoutCrashing) {
    const auto& [name, open, close, levels] = GetParam();
    EXPECT_FALSE(parseBoundedJson(nested(1'000'000, open, close)));
    // Unclosed, as a truncated or hostile file ends.
    std::string unclosed;
    for (int i = 0; i < 1'000'000; ++i)
        unclosed += open;
    EXPECT_FALSE(parseBoundedJson(unclosed));
}

INSTANTIATE_TEST_SUITE_P(, BoundedJsonNesting,
                         testing::Values(Nesting{"Arrays", "[", "]", 1},
                                         Nesting{"Objects", "{\"a\":", "}", 1},
                                         Nesting{"Mixed", "{\"a\":[", "]}", 2}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(BoundedJson, ParsesAndRejectsWhatIsNotJson) {
    auto doc = parseBoundedJson(R"({"z": 1, "a": [true, null, "x"]})");
    ASSERT_TRUE(doc);
    EXPECT_EQ((*doc)["z"], 1);
    EXPECT_EQ((*doc)["a"][2], "x");
    for (std::string_view bad : {"", "{", "{\"a\":1}}", "nul", "{\"a\":1,}", "\xff"})
        EXPECT_FALSE(parseBoundedJson(bad)) << bad;
}

struct Order {
    const char* name;
    std::string_view text;
    std::vector<std::string> members; // of "p.c", in the file's order
};

void PrintTo(const Order& o, std::ostream* os) {
    *os << o.name;
}

class BoundedJsonOrder : public testing::TestWithParam<Order> {};

TEST_P(BoundedJsonOrder, NamesTheMembersAtTheKeyPathInTheFilesOrder) {
    std::vector<std::string> members{"stale"};
    auto doc = parseBoundedJson(GetParam().text, "p.c", members);
    ASSERT_TRUE(doc);
    EXPECT_EQ(members, GetParam().members);
    // The same names as the parsed value holds there.
    const auto* at = doc->contains("p") && (*doc)["p"].contains("c") ? &(*doc)["p"]["c"] : nullptr;
    std::size_t held = at && at->is_object() ? at->size() : 0;
    EXPECT_EQ(held, GetParam().members.size());
}

INSTANTIATE_TEST_SUITE_P(
    , BoundedJsonOrder,
    testing::Values(
        Order{"FilesOrder", R"({"p":{"c":{"z":{},"b":1,"m":[{"q":2}]}}})", {"z", "b", "m"}},
        Order{"NameGivenTwiceKeepsItsFirstPlace", R"({"p":{"c":{"z":1,"b":2,"z":3}}})", {"z", "b"}},
        Order{"PathGivenTwiceTakesTheLast",
              R"({"p":{"c":{"a":1}},"p":{"x":0,"c":{"b":1,"c":2}}})",
              {"b", "c"}},
        Order{"SameNamesElsewhereAreNotThePath",
              R"({"x":{"p":{"c":{"no":1}}},"p":{"y":{"c":{"no":2}},"c":{"yes":3}},)"
              R"("q":[{"p":{"c":{"no":4}}}]})",
              {"yes"}},
        Order{"NoObjectThere", R"({"p":{"c":[1,2]}})", {}},
        Order{"NoPath", R"({"c":{"a":1}})", {}}),
    [](const auto& param) { return std::string(param.param.name); });

// Its cost over many members is measured in bench/ (chromeProfileCache).
TEST(BoundedJson, ManyMembersAreEachKeptOnceInTheirOrder) {
    const std::size_t n = 40'000;
    std::string text = R"({"p":{"c":{)";
    for (std::size_t i = 0; i < n; ++i)
        text += (i ? ",\"k" : "\"k") + std::to_string(i) + "\":{}";
    text += R"(,"k0":1}}})";
    std::vector<std::string> order;
    ASSERT_TRUE(parseBoundedJson(text, "p.c", order));
    ASSERT_EQ(order.size(), n);
    EXPECT_EQ(order.front(), "k0");
    EXPECT_EQ(order[n / 2], "k" + std::to_string(n / 2));
    EXPECT_EQ(order.back(), "k" + std::to_string(n - 1));
}

} // namespace
} // namespace sentravex
