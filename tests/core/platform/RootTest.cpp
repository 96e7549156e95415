#include "platform/Root.h"

#include "MacFixture.h"
#include "platform/RootWalk.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace sentravex {
namespace {

using test::MacFixture;
using test::SentinelFolder;

// Links in every position, climbing out in every way the tree allows.
void linkMaze(MacFixture& mac, const SentinelFolder& outside) {
    mac.folder("/Library/Real/Sub")
        .folder("/etc")
        .file("/Library/file")
        .link("/Library/Caches", "/Library/Real")
        .link("/Library/Up", "../../../../../..")
        .link("/Library/Etc", "/etc")
        .link("/Library/Outside", outside.path())
        .link("/Library/Relative", "Real")
        .link("/Library/Chain1", "Chain2")
        .link("/Library/Chain2", "/Library/Caches")
        .link("/Library/Real/Sub/Back", "../../Real")
        .link("/Library/Real/Sub/Deep", "../../../../../../../../../../../etc")
        .link("/Library/ToFile", "file")
        .link("/Library/LoopA", "LoopB")
        .link("/Library/LoopB", "LoopA")
        .link("/Library/Self", "Self");
}

struct FolderCase {
    const char* what;
    const char* logical;
    const char* expected; // the folder it names, relative to the root; nullptr: none
    int error;            // errno when there is none
};

// The kernel's confined lookup (where the system has one) and the descriptor walk other systems
// use must agree on every case.
class BothResolvers : public ::testing::TestWithParam<FolderCase> {};

std::pair<dev_t, ino_t> identity(int fd) {
    struct stat st {};
    ::fstat(fd, &st);
    return {st.st_dev, st.st_ino};
}

TEST_P(BothResolvers, FindTheSameFolderInsideTheRoot) {
    MacFixture mac;
    SentinelFolder outside;
    linkMaze(mac, outside);
    const auto& c = GetParam();
    UniqueFd top(::open(mac.root().c_str(), O_RDONLY | O_DIRECTORY));
    UniqueFd walked(walkToFolder(top.get(), c.logical));
    const int walkError = errno;
    UniqueFd opened(Root(mac.root()).open(c.logical, O_RDONLY | O_DIRECTORY));
    const int openError = errno;
    if (!c.expected) {
        EXPECT_FALSE(walked) << c.what;
        EXPECT_FALSE(opened) << c.what;
        EXPECT_EQ(walkError, c.error) << c.what;
        EXPECT_EQ(openError, c.error) << c.what;
        return;
    }
    ASSERT_TRUE(walked) << c.what << ": " << std::strerror(walkError);
    ASSERT_TRUE(opened) << c.what << ": " << std::strerror(openError);
    UniqueFd expected(::open(mac.host(c.expected).c_str(), O_RDONLY | O_DIRECTORY));
    EXPECT_EQ(identity(walked.get()), identity(expected.get())) << c.what;
    EXPECT_EQ(identity(opened.get()), identity(expected.get())) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Links, BothResolvers,
    ::testing::Values(
        FolderCase{"plain path", "/Library/Real/Sub", "/Library/Real/Sub", 0},
        FolderCase{"the root itself", "/", "/", 0},
        FolderCase{"absolute link", "/Library/Caches/Sub", "/Library/Real/Sub", 0},
        FolderCase{"absolute link to a system folder", "/Library/Etc", "/etc", 0},
        FolderCase{"absolute link out of the root", "/Library/Outside/Library", nullptr, ENOENT},
        FolderCase{"relative link", "/Library/Relative/Sub", "/Library/Real/Sub", 0},
        FolderCase{"chain of links", "/Library/Chain1/Sub", "/Library/Real/Sub", 0},
        FolderCase{"dot-dot link stops at the root", "/Library/Up/etc", "/etc", 0},
        FolderCase{"dot-dot in the path stops at the root", "/../../etc", "/etc", 0},
        FolderCase{"dot-dot inside a link's target", "/Library/Real/Sub/Back/Sub",
                   "/Library/Real/Sub", 0},
        FolderCase{"many dot-dots in a deep link", "/Library/Real/Sub/Deep", "/etc", 0},
        FolderCase{"dot-dot after a link leaves its target", "/Library/Caches/Sub/../..",
                   "/Library", 0},
        FolderCase{"a loop of links", "/Library/LoopA/z", nullptr, ELOOP},
        FolderCase{"a link to itself", "/Library/Self", nullptr, ELOOP},
        FolderCase{"a missing folder", "/No/Such", nullptr, ENOENT},
        FolderCase{"through a plain file", "/Library/file/x", nullptr, ENOTDIR},
        FolderCase{"a link to a file", "/Library/ToFile", nullptr, ENOTDIR}),
    [](const auto& test) {
        std::string name;
        for (const char* c = test.param.what; *c; ++c)
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

TEST(Root, OpensNothingButFoldersAndPlainFiles) {
    MacFixture mac;
    mac.file("/f").link("/toFifo", "/fifo");
    ASSERT_EQ(::mkfifo(mac.host("/fifo").c_str(), 0644), 0);
    Root root(mac.root());
    UniqueFd file(root.open("/f", O_RDONLY));
    EXPECT_TRUE(file);
    for (const char* refused : {"/fifo", "/toFifo"}) {
        errno = 0;
        EXPECT_EQ(root.open(refused, O_RDONLY), -1) << refused;
        EXPECT_EQ(errno, ENXIO) << refused;
    }
    errno = 0;
    EXPECT_EQ(root.open("/toFifo", O_RDONLY | O_NOFOLLOW), -1) << "a last link is kept";
    EXPECT_EQ(errno, ELOOP);
}

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

// This machine's own disk is told by the folder opened, however its path is spelt: "/." and
// "/tmp/.." are "/", with its host paths; a folder elsewhere is not, whatever its text.
TEST(Root, TheSystemRootIsKnownByTheFolderNotByItsSpelling) {
    MacFixture mac;
    mac.folder("/Library/Sub").link("/up", "/").link("/lnk", "Library/Sub");
    struct Case {
        std::string given;
        bool system;
        std::string users; // the host path of "/Users"
    };
    const Case cases[] = {
        {"/", true, "/Users"},
        {"/.", true, "/Users"},
        {"/tmp/..", true, "/Users"},
        {"//", true, "/Users"},
        {"/./", true, "/Users"},
        {mac.host("/up"), true, "/Users"}, // a link to "/" is this disk too
        {mac.root(), false, mac.host("/Users")},
        {mac.host("/Library/.."), false, mac.host("/Library/../Users")},
        {mac.host("/lnk/.."), false, mac.host("/lnk/../Users")},
    };
    for (const auto& c : cases) {
        const Root root(c.given);
        EXPECT_EQ(root.isSystemRoot(), c.system) << c.given;
        EXPECT_EQ(root.hostPathOf("/Users"), c.users) << c.given;
        EXPECT_EQ(root.resolve("/"), c.system ? "/" : c.given) << c.given;
    }
}

// The folder that was opened, named by the system and identified by device and inode, for a
// helper that must find that very folder again.
TEST(Root, TheOpenedFolderIsNamedAndIdentified) {
    MacFixture mac;
    mac.folder("/A").folder("/B/sub").link("/A/lnk", "../B/sub");
    const Root root(mac.host("/A/lnk/.."));
    struct stat b {};
    ASSERT_EQ(::stat(mac.host("/B").c_str(), &b), 0);
    EXPECT_EQ(root.openedPath(), std::filesystem::canonical(mac.host("/B")).string());
    EXPECT_EQ(root.identity(), (FolderIdentity{static_cast<std::uint64_t>(b.st_dev),
                                               static_cast<std::uint64_t>(b.st_ino)}));
    const Root absent(mac.host("/none"));
    EXPECT_EQ(absent.openedPath(), std::nullopt);
    EXPECT_EQ(absent.identity(), std::nullopt);
    EXPECT_FALSE(absent.isSystemRoot());
}

// A folder chosen in a dialog comes back as its logical path, links on either side resolved.
TEST(Root, ChosenHostFolderMapsBackIntoTheRoot) {
    MacFixture mac;
    SentinelFolder outside;
    mac.folder("/Users/alice/Documents").link("/Docs", "Users/alice/Documents");
    // A folder whose name only begins with the root's.
    const std::string sibling = mac.root() + "-sibling";
    std::filesystem::create_directory(sibling);
    const Root root(mac.root());
    struct Case {
        std::string chosen;
        std::optional<std::string> logical;
    };
    const Case cases[] = {
        {mac.root(), "/"},
        {mac.root() + "/", "/"},
        {mac.host("/Users/alice/Documents"), "/Users/alice/Documents"},
        {mac.host("/Users/alice/../alice/Documents"), "/Users/alice/Documents"},
        {mac.host("/Docs"), "/Users/alice/Documents"},
        {mac.host("/Users/nobody"), std::nullopt},
        {outside.path(), std::nullopt},
        {sibling, std::nullopt},
        {"/", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(root.logicalPathOfChosen(c.chosen), c.logical) << c.chosen;
    EXPECT_EQ(Root().logicalPathOfChosen(mac.host("/Users/alice/Documents")),
              mac.host("/Users/alice/Documents"));
    std::filesystem::remove(sibling);
}

} // namespace
} // namespace sentravex
