#include "platform/Account.h"

#include <gtest/gtest.h>
#include <vector>

namespace sentravex {
namespace {

TEST(ValidLoginName, OnePathComponentThatIsNeitherDotNorDotDot) {
    const std::vector<std::string> valid = {
        "alice",      "a.b",   "...",          ".hidden",
        "with space", "-dash", "\xC3\xA9mile", std::string(255, 'a')};
    for (const auto& name : valid)
        EXPECT_TRUE(validLoginName(name)) << name;
    const std::vector<std::string> invalid = {
        "", ".", "..", "a/b", "/", "../etc", std::string("a\0b", 3), std::string(256, 'a')};
    for (const auto& name : invalid)
        EXPECT_FALSE(validLoginName(name)) << name;
}

} // namespace
} // namespace sentravex
