#include "platform/Root.h"

#include "MacFixture.h"

#include <gtest/gtest.h>

namespace sentravex {
namespace {

using test::MacFixture;

struct ResolveCase {
    const char* what;
    const char* logical;
    const char* expected; // relative to the root; nullptr: unresolvable
};

class RootResolve : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(RootResolve, StaysInsideTheRoot) {
    MacFixture mac;
    mac.folder("/Library/Real")
        .link("/Library/Caches", "/Library/Real")
        .link("/Library/Up", "../../../../../..")
        .link("/Library/Etc", "/etc")
        .link("/Library/Relative", "Real")
        .link("/Library/LoopA", "LoopB")
        .link("/Library/LoopB", "LoopA");
    const auto& c = GetParam();
    auto resolved = Root(mac.root()).resolve(c.logical);
    if (!c.expected) {
        EXPECT_FALSE(resolved) << c.what;
        return;
    }
    ASSERT_TRUE(resolved) << c.what;
    EXPECT_EQ(*resolved, mac.root() + c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RootResolve,
    ::testing::Values(
        ResolveCase{"plain path", "/Library/Real/x", "/Library/Real/x"},
        ResolveCase{"absolute link taken inside the root", "/Library/Caches/x", "/Library/Real/x"},
        ResolveCase{"absolute link to a system folder", "/Library/Etc/passwd", "/etc/passwd"},
        ResolveCase{"relative link", "/Library/Relative/y", "/Library/Real/y"},
        ResolveCase{"dot-dot link stops at the root", "/Library/Up/etc", "/etc"},
        ResolveCase{"dot-dot in the path stops at the root", "/../../etc/hosts", "/etc/hosts"},
        ResolveCase{"missing parts are kept", "/No/Such/Thing", "/No/Such/Thing"},
        ResolveCase{"a loop of links", "/Library/LoopA/z", nullptr}));

TEST(Root, ResolveParentKeepsTheLastLink) {
    MacFixture mac;
    mac.folder("/Library/Real").link("/Library/Caches", "/Library/Real");
    Root root(mac.root());
    EXPECT_EQ(root.resolveParent("/Library/Caches"), mac.root() + "/Library/Caches");
    EXPECT_EQ(root.resolve("/Library/Caches"), mac.root() + "/Library/Real");
}

TEST(Root, SystemRootResolvesAsUsual) {
    Root root;
    EXPECT_TRUE(root.isSystemRoot());
    EXPECT_EQ(root.resolve("/"), "/");
    EXPECT_EQ(root.hostPathOf("/Applications/Quorvane.app"), "/Applications/Quorvane.app");
}

} // namespace
} // namespace sentravex
