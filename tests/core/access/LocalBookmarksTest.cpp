#include "access/LocalBookmarks.h"

#include "MacFixture.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace sentravex {
namespace {

using test::MacFixture;
namespace fs = std::filesystem;

struct Bookmarked {
    MacFixture mac;
    LocalBookmarks bookmarks{Root(mac.root())};
    std::string data;

    Bookmarked() {
        mac.folder("/Users/alice/Documents");
        data = bookmarks.bookmarkData("/Users/alice").data.value();
    }
};

TEST(LocalBookmarks, ResolvesWhileTheSameFolderIsThere) {
    Bookmarked b;
    EXPECT_TRUE(b.bookmarks.startAccessing(b.data));
    // The data names logical paths: the same tree under another root is another folder.
    MacFixture other;
    other.folder("/Users/alice");
    EXPECT_FALSE(LocalBookmarks(Root(other.root())).startAccessing(b.data));
}

TEST(LocalBookmarks, MovedOrVanishedFolderDoesNotResolve) {
    Bookmarked b;
    const auto home = b.mac.host("/Users/alice");
    fs::rename(home, b.mac.host("/Users/old"));
    EXPECT_FALSE(b.bookmarks.startAccessing(b.data));

    // A new folder in its place is not the granted one.
    fs::create_directory(home);
    EXPECT_FALSE(b.bookmarks.startAccessing(b.data));

    fs::remove(home);
    fs::rename(b.mac.host("/Users/old"), home);
    EXPECT_TRUE(b.bookmarks.startAccessing(b.data));

    fs::remove_all(home);
    EXPECT_FALSE(b.bookmarks.startAccessing(b.data));
}

TEST(LocalBookmarks, DamagedDataDoesNotResolve) {
    Bookmarked b;
    auto newline = b.data.rfind('\n');
    for (const std::string& damaged :
         {std::string(), std::string("garbage"), b.data.substr(0, newline),
          b.data.substr(0, newline) + "\nUsers/alice", b.data.substr(1), b.data + "/Documents"})
        EXPECT_FALSE(b.bookmarks.startAccessing(damaged)) << damaged;
}

TEST(LocalBookmarks, OnlyAnExistingFolderCanBeBookmarked) {
    MacFixture mac;
    mac.file("/Users/alice/notes.txt", "x");
    LocalBookmarks bookmarks{Root(mac.root())};
    for (const char* path : {"/Users/alice/missing", "/Users/alice/notes.txt"}) {
        auto made = bookmarks.bookmarkData(path);
        EXPECT_FALSE(made.data) << path;
        EXPECT_TRUE(made.error.starts_with(path)) << made.error;
    }
}

} // namespace
} // namespace sentravex
