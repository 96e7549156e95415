#include "platform/LocalSocketTrust.h"

#include "MacFixture.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sentravex {
namespace {

using test::MacFixture;

constexpr uid_t kNobody = 65534;

struct FolderCase {
    const char* what;
    mode_t mode;
    bool link = false;
    bool otherOwner = false;
    bool isPrivate;
};

void PrintTo(const FolderCase& c, std::ostream* os) {
    *os << c.what;
}

class PrivateFolderOf : public testing::TestWithParam<FolderCase> {};

TEST_P(PrivateFolderOf, OnlyAFolderOfThisAccountThatNobodyElseCanWriteIn) {
    const auto& c = GetParam();
    if (c.otherOwner && ::geteuid() != 0)
        GTEST_SKIP() << "giving a folder away needs the superuser";
    MacFixture mac;
    mac.folder("/run");
    const std::string folder = mac.host("/run");
    ASSERT_EQ(::chmod(folder.c_str(), c.mode), 0);
    if (c.otherOwner) {
        ASSERT_EQ(::chown(folder.c_str(), kNobody, kNobody), 0);
    }
    std::string asked = folder;
    if (c.link) {
        asked = mac.host("/link");
        ASSERT_EQ(::symlink(folder.c_str(), asked.c_str()), 0);
    }
    EXPECT_EQ(isPrivateFolder(asked), c.isPrivate);
}

INSTANTIATE_TEST_SUITE_P(
    , PrivateFolderOf,
    testing::Values(FolderCase{"OwnerOnly", 0700, false, false, true},
                    FolderCase{"ReadableByOthers", 0755, false, false, true},
                    FolderCase{"GroupWritable", 0770, false, false, false},
                    FolderCase{"SharedLikeTheTemporaryFolder", 01777, false, false, false},
                    FolderCase{"LinkToAPrivateFolder", 0700, true, false, false},
                    FolderCase{"OwnedBySomeoneElse", 0700, false, true, false}),
    [](const auto& c) { return std::string(c.param.what); });

TEST(PrivateFolder, NotAFolderOrNothingAtAll) {
    MacFixture mac;
    mac.file("/file");
    EXPECT_FALSE(isPrivateFolder(mac.host("/file")));
    EXPECT_FALSE(isPrivateFolder(mac.host("/missing")));
    EXPECT_FALSE(isPrivateFolder(""));
}

TEST(PeerUid, IsTheUserAtTheOtherEnd) {
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    EXPECT_EQ(peerUid(pair[0]), ::geteuid());
    ::close(pair[0]);
    ::close(pair[1]);
    EXPECT_EQ(peerUid(-1), std::nullopt);
}

TEST(PeerUid, ReportsAnotherAccountThatConnects) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "running as another account needs the superuser";
    MacFixture mac;
    mac.folder("/run");
    const std::string folder = mac.host("/run");
    ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(mac.root().c_str(), 0755), 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = folder + "/s";
    ASSERT_LT(path.size(), sizeof address.sun_path);
    path.copy(address.sun_path, path.size());
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0777), 0);
    ASSERT_EQ(::listen(server, 1), 0);

    const pid_t child = ::fork();
    if (child == 0) {
        const int client = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool ok =
            ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 &&
            ::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        char byte = 0;
        (void)!::read(client, &byte, 1); // holds the connection until the parent has looked
        ::_exit(ok ? 0 : 1);
    }
    const int accepted = ::accept(server, nullptr, nullptr);
    EXPECT_EQ(peerUid(accepted), kNobody);
    ::close(accepted);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ::close(server);
}

} // namespace
} // namespace sentravex
