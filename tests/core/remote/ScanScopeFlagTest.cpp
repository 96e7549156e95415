#include "remote/ScanScopeFlag.h"

#include <gtest/gtest.h>

namespace sentravex {
namespace {

TEST(ScanScopeFlag, OnlyTheExactWordGrantsTheWholeDisk) {
    struct Case {
        std::optional<std::string_view> body;
        bool flag;
    };
    const Case cases[] = {
        {"true", true},   {"true\n", false},     {"true\r\n", false},
        {"TRUE", false},  {" true", false},      {"", false},
        {"false", false}, {std::nullopt, false}, {std::string_view("true\0", 5), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scanScopeFlag(c.body), c.flag) << (c.body ? std::string(*c.body) : "(failed)");
}

} // namespace
} // namespace sentravex
