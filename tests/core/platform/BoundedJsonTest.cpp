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

} // namespace
} // namespace sentravex
