#include "MacFixture.h"
#include "platform/OpenFileLimit.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sched.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/sysmacros.h>
#endif

namespace sentravex {
namespace {

using test::blocksOf;
using test::MacFixture;
using test::SentinelFolder;

// A chain of folders too deep for any path to name it, with a file of `bytes` at the bottom or,
// with `fileEach`, in every folder of the chain.
void makeDeepTree(const std::string& host, int depth, std::size_t bytes = 1,
                  bool fileEach = false) {
    const std::string content(bytes, 'x');
    auto put = [&](int folderFd, const char* name) {
        int file = ::openat(folderFd, name, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_EQ(::write(file, content.data(), content.size()),
                  static_cast<ssize_t>(content.size()));
        ::close(file);
    };
    std::filesystem::create_directories(host);
    int fd = ::open(host.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < depth; ++i) {
        if (fileEach)
            put(fd, "level");
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
        int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    put(fd, "bottom");
    ::close(fd);
}

TEST(ListFolder, ListsHiddenEntriesAndNothingForMissingOrPlainFiles) {
    MacFixture mac;
    mac.file("/Library/LaunchAgents/a.plist").file("/Library/LaunchAgents/.hidden");
    auto fs = mac.fileSystem();
    auto listed = fs.listFolder("/Library/LaunchAgents");
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"/Library/LaunchAgents/.hidden",
                                                "/Library/LaunchAgents/a.plist"}));
    EXPECT_TRUE(fs.listFolder("/Library/Missing").empty());
    EXPECT_TRUE(fs.listFolder("/Library/LaunchAgents/a.plist").empty());
}

TEST(ListFolder, LinkOutOfTheRootListsInsideIt) {
    MacFixture mac;
    SentinelFolder outside;
    mac.link("/Library/LaunchAgents", outside.path());
    EXPECT_TRUE(mac.fileSystem().listFolder("/Library/LaunchAgents").empty());
    mac.link("/Library/LaunchDaemons", "../../../../../../../../" + outside.path());
    EXPECT_TRUE(mac.fileSystem().listFolder("/Library/LaunchDaemons").empty());
}

TEST(AllocatedSize, CountsBlocksOfEverythingBeneathAFolder) {
    MacFixture mac;
    mac.file("/c/one", "x")
        .file("/c/.hidden", "y")
        .file("/c/Some.app/Contents/MacOS/Some", std::string(10000, 'z'))
        .file("/c/empty");
    auto fs = mac.fileSystem();
    std::int64_t one = blocksOf(mac.host("/c/one"));
    EXPECT_GT(one, 1) << "a one-byte file takes a whole block";
    EXPECT_EQ(fs.allocatedSize("/c/one").bytes, one);
    EXPECT_EQ(fs.allocatedSize("/c/empty").bytes, 0);
    EXPECT_EQ(fs.allocatedSize("/c").bytes,
              one + blocksOf(mac.host("/c/.hidden")) +
                  blocksOf(mac.host("/c/Some.app/Contents/MacOS/Some")));
    EXPECT_EQ(fs.allocatedSize("/missing").bytes, 0);
}

TEST(AllocatedSize, FollowsNoLink) {
    MacFixture mac;
    SentinelFolder outside;
    mac.fileOfSize("/big/file", 100000)
        .link("/c/toBig", "/big")
        .link("/c/toOutside", outside.path())
        .link("/whole", "/big");
    auto fs = mac.fileSystem();
    EXPECT_EQ(fs.allocatedSize("/c").bytes,
              blocksOf(mac.host("/c/toBig")) + blocksOf(mac.host("/c/toOutside")));
    EXPECT_EQ(fs.allocatedSize("/whole").bytes, blocksOf(mac.host("/whole")));
}

TEST(AllocatedSize, SkipsAnUnreadableFolderAndCountsTheRest) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    MacFixture mac;
    mac.file("/c/a/x", "x").file("/c/locked/y", "y").file("/c/z/w", "w");
    ::chmod(mac.host("/c/locked").c_str(), 0);
    EXPECT_EQ(mac.fileSystem().allocatedSize("/c").bytes,
              blocksOf(mac.host("/c/a/x")) + blocksOf(mac.host("/c/z/w")));
}

TEST(AllocatedSize, WalksATreeTenThousandFoldersDeep) {
    MacFixture mac;
    makeDeepTree(mac.host("/deep"), 10000);
    EXPECT_GT(mac.fileSystem().allocatedSize("/deep").bytes, 0);
}

// The walks keep folders open on the way down; with too few descriptors left, a size must not pass
// for the whole. Raising the limit to what the hard limit allows makes it whole.
TEST(AllocatedSize, ATreeDeeperThanTheOpenFileLimitAllowsIsWholeOrSaysSo) {
    MacFixture mac;
    constexpr int levels = 300;
    makeDeepTree(mac.host("/deep"), levels, 4096, true);
    const std::int64_t expected =
        (levels + 1) * blocksOf(mac.host("/deep/level")); // every level, and the bottom
    struct Case {
        rlim_t soft, hard;
        bool raised;
    };
    for (const Case c : {Case{20, 20, false}, Case{20, 20, true}, Case{20, 4096, true}}) {
        const auto answer = test::inChild([&] {
            const rlimit limit{c.soft, c.hard};
            if (::setrlimit(RLIMIT_NOFILE, &limit) != 0 || (c.raised && !raiseOpenFileLimit()))
                return std::string("no limit");
            const auto size = mac.fileSystem().allocatedSize("/deep");
            return std::to_string(size.whole) + std::to_string(size.bytes);
        });
        const std::string which =
            std::to_string(c.soft) + ":" + std::to_string(c.hard) + (c.raised ? " raised" : "");
        ASSERT_GT(answer.size(), 1u) << which << ": " << answer;
        const bool whole = answer[0] == '1';
        const auto bytes = std::stoll(answer.substr(1));
        if (whole)
            EXPECT_EQ(bytes, expected) << which << ": a smaller size passed for the whole";
        else
            EXPECT_LT(bytes, expected) << which;
        if (c.hard > 1000) {
            EXPECT_TRUE(whole) << which << ": the raised limit is enough";
        }
    }
}

// Fifty links to one file in a cache, and two more in Documents.
TEST(HardLinks, AFileCountsOnceAndFreesItsBlocksOnlyWithItsLastLink) {
    MacFixture mac;
    mac.fileOfSize("/Documents/kept", 100000);
    for (int i = 0; i < 50; ++i) {
        const auto at = "/Caches/d" + std::to_string(i % 5) + "/link" + std::to_string(i);
        mac.folder("/Caches/d" + std::to_string(i % 5));
        ASSERT_EQ(::link(mac.host("/Documents/kept").c_str(), mac.host(at).c_str()), 0);
    }
    ASSERT_EQ(::link(mac.host("/Documents/kept").c_str(), mac.host("/Documents/copy").c_str()), 0);
    const std::int64_t blocks = blocksOf(mac.host("/Documents/kept"));
    auto fs = mac.fileSystem();

    EXPECT_EQ(fs.allocatedSize("/Caches").bytes, blocks);
    EXPECT_EQ(fs.allocatedSize("/Caches/d3/link3").bytes, blocks);
    LinkedFiles counted;
    std::int64_t shared = 0;
    for (const char* path : {"/Caches/d0", "/Caches/d1/link1", "/Documents"})
        shared += fs.allocatedSize(path, {}, &counted).bytes;
    EXPECT_EQ(shared, blocks) << "walks sharing what they counted";

    auto cache = fs.removeItem("/Caches");
    EXPECT_TRUE(cache.ok()) << cache.error;
    EXPECT_EQ(cache.bytes, 0) << "the file stays in Documents: nothing was freed";
    auto documents = fs.removeItem("/Documents");
    EXPECT_TRUE(documents.ok()) << documents.error;
    EXPECT_EQ(documents.bytes, blocks) << "its last link frees it, once";
}

TEST(RemoveItem, RemovesATreeAndReportsAbsenceAsNoFailure) {
    MacFixture mac;
    mac.file("/t/a/b/c", "1").file("/t/.h", "2");
    auto fs = mac.fileSystem();
    auto r = fs.removeItem("/t");
    EXPECT_TRUE(r.existed);
    EXPECT_TRUE(r.ok()) << r.error;
    EXPECT_FALSE(std::filesystem::exists(mac.host("/t")));
    auto again = fs.removeItem("/t");
    EXPECT_FALSE(again.existed);
    EXPECT_TRUE(again.ok());
}

TEST(RemoveItem, RemovesLinksThemselvesAndNeverWhatTheyPointTo) {
    MacFixture mac;
    SentinelFolder outside;
    const auto before = outside.snapshot();
    mac.link("/gone", outside.path())
        .file("/t/inner/f", "f")
        .link("/t/inner/abs", outside.path())
        .link("/t/inner/rel", "../../../../../../../../../../" + outside.path());
    auto fs = mac.fileSystem();
    EXPECT_TRUE(fs.removeItem("/gone").ok());
    EXPECT_TRUE(fs.removeItem("/t").ok());
    EXPECT_FALSE(std::filesystem::exists(mac.host("/t")));
    EXPECT_FALSE(std::filesystem::is_symlink(mac.host("/gone")));
    EXPECT_EQ(outside.snapshot(), before);
}

TEST(RemoveItem, ThroughALinkedParentStaysInsideTheRoot) {
    MacFixture mac;
    SentinelFolder outside;
    const auto before = outside.snapshot();
    mac.link("/Library", outside.path());
    EXPECT_FALSE(mac.fileSystem().removeItem("/Library/Caches").existed);
    EXPECT_EQ(outside.snapshot(), before);
}

TEST(RemoveItem, RefusesTheRootItself) {
    MacFixture mac;
    mac.file("/keep");
    auto r = mac.fileSystem().removeItem("/");
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(std::filesystem::exists(mac.host("/keep")));
}

TEST(RemoveItem, RemovesATreeTenThousandFoldersDeep) {
    MacFixture mac;
    makeDeepTree(mac.host("/deep"), 10000);
    auto r = mac.fileSystem().removeItem("/deep");
    EXPECT_TRUE(r.ok()) << r.error;
    EXPECT_FALSE(std::filesystem::exists(mac.host("/deep")));
}

TEST(RemoveItem, CountsWhatCouldNotBeRemovedAndRemovesTheRest) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    MacFixture mac;
    mac.file("/t/free/a", "a").file("/t/locked/b", "b");
    ::chmod(mac.host("/t/locked").c_str(), 0555);
    auto r = mac.fileSystem().removeItem("/t");
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(std::filesystem::exists(mac.host("/t/free")));
    EXPECT_TRUE(std::filesystem::exists(mac.host("/t/locked/b")));
}

TEST(ReadFile, ReadsPlainFilesInsideTheRootOnly) {
    MacFixture mac;
    SentinelFolder outside;
    mac.file("/f", "content")
        .file("/big", std::string(100, 'b'))
        .link("/out", outside.path() + "/precious.txt");
    ASSERT_EQ(::mkfifo(mac.host("/pipe").c_str(), 0644), 0);
    auto fs = mac.fileSystem();
    EXPECT_EQ(fs.readFile("/f", 100), "content");
    EXPECT_EQ(fs.readFile("/big", 100), std::string(100, 'b'));
    EXPECT_FALSE(fs.readFile("/big", 99)) << "over the limit";
    EXPECT_FALSE(fs.readFile("/pipe", 100)) << "a pipe would block";
    EXPECT_FALSE(fs.readFile("/missing", 100));
    EXPECT_FALSE(fs.readFile("/out", 100)) << "a link is resolved inside the root";
}

// What the system holds back must not read as absent: a caller tells the two apart by errno.
TEST(ReadError, TellsAbsenceFromRefusal) {
    MacFixture mac;
    mac.file("/Library/Safari/Bookmarks.plist", "b").folder("/empty").file("/locked/secret", "s");
    // Open to the unprivileged account the probe runs as, but the one locked folder.
    for (const auto& e : std::filesystem::recursive_directory_iterator(mac.root()))
        ::chmod(e.path().c_str(), e.is_directory() ? 0755 : 0644);
    ::chmod(mac.root().c_str(), 0755);
    ::chmod(mac.host("/locked").c_str(), 0);
    const auto errors = test::asNobody([&] {
        auto fs = mac.fileSystem();
        std::string out;
        for (const char* path : {"/Library/Safari/Bookmarks.plist", "/empty", "/missing/file",
                                 "/locked", "/locked/secret"})
            out += std::to_string(fs.readError(path)) + " ";
        return out;
    });
    ::chmod(mac.host("/locked").c_str(), 0755);
    EXPECT_EQ(errors, "0 0 " + std::to_string(ENOENT) + " " + std::to_string(EACCES) + " " +
                          std::to_string(EACCES) + " ");
}

TEST(RemoveItem, WhatVanishesMeanwhileIsNoFailure) {
    MacFixture mac;
    mac.file("/t/first", "1").file("/t/sub/a", "a").file("/t/sub/deeper/b", "b");
    bool tidied = false;
    // Another program tidies the folder as soon as the deletion has begun.
    auto r = mac.fileSystem().removeItem("/t", [&](std::int64_t) {
        if (!tidied)
            std::filesystem::remove_all(mac.host("/t/sub"));
        tidied = true;
        return true;
    });
    EXPECT_TRUE(tidied);
    EXPECT_TRUE(r.ok()) << r.error;
    EXPECT_FALSE(std::filesystem::exists(mac.host("/t")));
}

TEST(RemoveItem, APathWhoseFolderCannotBeReachedIsAFailureNotAbsence) {
    MacFixture mac;
    mac.link("/Library/LoopA", "LoopB").link("/Library/LoopB", "LoopA");
    auto r = mac.fileSystem().removeItem("/Library/LoopA/Caches");
    EXPECT_TRUE(r.existed);
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.error.find(std::strerror(ELOOP)), std::string::npos) << r.error;
    EXPECT_FALSE(mac.fileSystem().removeItem("/Library/Missing/Caches").existed);
}

TEST(RemoveItem, AFolderThatMayNotBeSearchedIsAFailure) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    MacFixture mac;
    mac.file("/Users/alice/Library/Caches/c", "c");
    ::chmod(mac.host("/Users/alice/Library").c_str(), 0);
    auto r = mac.fileSystem().removeItem("/Users/alice/Library/Caches");
    ::chmod(mac.host("/Users/alice/Library").c_str(), 0755);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(std::filesystem::exists(mac.host("/Users/alice/Library/Caches/c")));
}

#ifdef __linux__
// Mounts a small file system for the length of a test, where the test may.
class Mount {
public:
    explicit Mount(const std::string& at) : at_(at) {
        std::filesystem::create_directories(at);
        mounted_ = ::mount("none", at.c_str(), "tmpfs", 0, "size=1m") == 0;
    }
    ~Mount() {
        if (mounted_)
            ::umount2(at_.c_str(), MNT_DETACH);
    }
    explicit operator bool() const { return mounted_; }

private:
    std::string at_;
    bool mounted_ = false;
};

TEST(TreeWalks, NeverEnterAnotherFileSystem) {
    MacFixture mac;
    mac.file("/Caches/own", std::string(5000, 'o'));
    Mount mount(mac.host("/Caches/Mounted"));
    if (!mount)
        GTEST_SKIP() << "mounting needs the superuser";
    mac.file("/Caches/Mounted/theirs", std::string(5000, 't'));
    auto fs = mac.fileSystem();

    EXPECT_EQ(fs.allocatedSize("/Caches").bytes, blocksOf(mac.host("/Caches/own")));
    auto r = fs.removeItem("/Caches");
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.error.find("/Caches/Mounted"), std::string::npos) << r.error;
    EXPECT_FALSE(std::filesystem::exists(mac.host("/Caches/own")));
    EXPECT_TRUE(std::filesystem::exists(mac.host("/Caches/Mounted/theirs")));
}

// Runs `work` in a child process with mounts of its own, so that what it mounts never reaches the
// rest of the system and goes with the child; "skip" where that is not permitted.
std::string withPrivateMounts(const std::function<std::string()>& work) {
    return test::inChild([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("skip");
        return work();
    });
}

dev_t deviceOf(const std::string& host) {
    struct stat st {};
    ::stat(host.c_str(), &st);
    return st.st_dev;
}

// A bind mount has the device of the folder it is mounted in: only its mount tells it apart. One
// lies near the top, one below the depth where a single thread walks alone, and one is the path
// itself.
TEST(TreeWalks, NeverEnterABindMountOfTheSameFileSystem) {
    MacFixture mac;
    SentinelFolder outside;
    const auto before = outside.snapshot();
    std::string deep = "/Caches/deep";
    for (int i = 0; i < 40; ++i)
        deep += "/d";
    mac.file("/Caches/own", std::string(5000, 'o'))
        .folder("/Caches/Bound")
        .folder(deep + "/Bound")
        .folder("/Bound");
    ASSERT_EQ(deviceOf(mac.root()), deviceOf(outside.path())) << "the case needs one device";
    const std::vector<std::string> mountPoints{"/Caches/Bound", deep + "/Bound", "/Bound"};
    const std::int64_t own = blocksOf(mac.host("/Caches/own"));

    const auto answer = withPrivateMounts([&] {
        for (const auto& at : mountPoints)
            if (::mount(outside.path().c_str(), mac.host(at).c_str(), nullptr, MS_BIND, nullptr) !=
                0)
                return std::string("skip");
        auto fs = mac.fileSystem();
        std::string out;
        for (const char* path : {"/Caches", "/Bound"})
            out += std::to_string(fs.allocatedSize(path).bytes) + "\n";
        for (const char* path : {"/Caches", "/Bound"})
            out += fs.removeItem(path).error + "\n";
        return out;
    });
    if (answer == "skip")
        GTEST_SKIP() << "bind mounts need the superuser and a mount namespace of its own";
    const std::string left = "left on another file system: ";
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = answer.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(answer.substr(at, end - at));
    ASSERT_EQ(lines.size(), 4u) << answer;
    EXPECT_EQ(lines[0], std::to_string(own));
    EXPECT_EQ(lines[1], "0") << "the path is a mount point";
    EXPECT_TRUE(lines[2] == left + mountPoints[0] || lines[2] == left + mountPoints[1]) << lines[2];
    EXPECT_EQ(lines[3], left + "/Bound");
    EXPECT_EQ(outside.snapshot(), before) << "nothing beyond the mounts was deleted";
    EXPECT_FALSE(std::filesystem::exists(mac.host("/Caches/own")));
}

// Wide enough that every thread of the walk takes folders; one of them meets, at once, a folder it
// may not read, a link out of the root and another file system.
TEST(TreeWalks, SizeAndDeleteAroundAnUnreadableFolderALinkAndAMountPoint) {
    MacFixture mac;
    SentinelFolder outside;
    const auto before = outside.snapshot();
    for (int d = 0; d < 48; ++d)
        for (int f = 0; f < 24; ++f)
            mac.file("/wide/d" + std::to_string(d) + "/f" + std::to_string(f), std::string(f, 'x'));
    mac.file("/wide/d7/locked/secret", "s").link("/wide/d7/out", outside.path());
    Mount mount(mac.host("/wide/d7/mnt"));
    if (mount)
        mac.file("/wide/d7/mnt/theirs", "t");
    std::int64_t expected = blocksOf(mac.host("/wide/d7/out"));
    for (int d = 0; d < 48; ++d)
        for (int f = 0; f < 24; ++f)
            expected +=
                blocksOf(mac.host("/wide/d" + std::to_string(d) + "/f" + std::to_string(f)));
    // Open to the unprivileged account the walk runs as, but the one locked folder.
    for (const auto& e : std::filesystem::recursive_directory_iterator(mac.root()))
        if (!e.is_symlink())
            ::chmod(e.path().c_str(), e.is_directory() ? 0777 : 0666);
    ::chmod(mac.root().c_str(), 0777);
    ::chmod(mac.host("/wide/d7/locked").c_str(), 0);

    const auto sized = std::stoll(test::asNobody(
        [&] { return std::to_string(mac.fileSystem().allocatedSize("/wide").bytes); }));
    EXPECT_EQ(sized, expected) << "what may be read, and no more";

    const auto error = test::asNobody([&] { return mac.fileSystem().removeItem("/wide").error; });
    ::chmod(mac.host("/wide/d7/locked").c_str(), 0755);
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::exists(mac.host("/wide/d7/locked/secret")));
    if (mount) {
        EXPECT_TRUE(std::filesystem::exists(mac.host("/wide/d7/mnt/theirs")));
    }
    EXPECT_FALSE(std::filesystem::exists(mac.host("/wide/d7/out"))) << "the link itself goes";
    EXPECT_FALSE(std::filesystem::exists(mac.host("/wide/d8"))) << "the rest goes";
    EXPECT_EQ(outside.snapshot(), before);
}

// A device's driver runs when it is opened: the type is checked first, so it never is.
TEST(ReadFile, NeverOpensADeviceOrPipe) {
    MacFixture mac;
    mac.file("/plain", "p").link("/toDevice", "/device");
    ASSERT_EQ(::mkfifo(mac.host("/pipe").c_str(), 0644), 0);
    const bool device = ::mknod(mac.host("/device").c_str(), S_IFCHR | 0644, makedev(1, 3)) == 0;
    UniqueFd watch(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    ASSERT_TRUE(watch);
    ASSERT_GE(::inotify_add_watch(watch.get(), mac.root().c_str(), IN_OPEN), 0);

    auto fs = mac.fileSystem();
    for (const char* path : {"/pipe", "/device", "/toDevice"}) {
        EXPECT_FALSE(fs.readFile(path, 100)) << path;
        EXPECT_FALSE(fs.listFolder(path).size()) << path;
    }
    EXPECT_EQ(fs.readFile("/plain", 100), "p");

    std::vector<std::string> opened;
    alignas(inotify_event) char events[4096];
    for (ssize_t n; (n = ::read(watch.get(), events, sizeof events)) > 0;)
        for (char* at = events; at < events + n;) {
            auto* event = reinterpret_cast<inotify_event*>(at);
            opened.emplace_back(event->len ? event->name : ".");
            at += sizeof(inotify_event) + event->len;
        }
    EXPECT_EQ(std::count(opened.begin(), opened.end(), "plain"), 1);
    for (const char* never : {"pipe", "device"})
        EXPECT_EQ(std::count(opened.begin(), opened.end(), never), 0) << never;
    if (!device)
        GTEST_SKIP() << "making a device node needs the superuser; the pipe was checked";
}
#endif

} // namespace
} // namespace sentravex
