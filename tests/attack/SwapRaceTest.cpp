// A folder on the way swapped for a link that climbs out of the root, over and over while the
// protected paths and the cleaner's folders are deleted: every deletion stays inside the root.
#include "MacFixture.h"
#include "removal/PrivilegedPaths.h"
#include "removal/ProtectedDeletion.h"

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#ifdef __linux__
#include <linux/fs.h>
#endif

namespace sentravex {
namespace {

using test::MacFixture;
using test::SentinelFolder;
namespace fs = std::filesystem;

// Exchanges two names at once, as an attacker would to win the race.
bool exchange(const std::string& a, const std::string& b) {
#ifdef __linux__
    return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
#else
    return ::renamex_np(a.c_str(), b.c_str(), RENAME_SWAP) == 0;
#endif
}

TEST(SwapRace, AFolderSwappedForAClimbingLinkNeverLeadsOutOfTheRoot) {
    MacFixture mac;
    SentinelFolder outside;
    // The outside holds what a deletion led out of the root would find under the same names.
    for (auto path : privilegedPaths)
        std::ofstream(outside.path() + "/" + fs::path(path).filename().string()) << "outside";
    const auto before = outside.snapshot();
    const std::string receipts = "/private/var/db/receipts";
    mac.folder(receipts).link(receipts + ".swap",
                              "../../../../../../../../../../../../.." + outside.path());
    // The test writes through the folder itself, never through a name the attacker swaps.
    UniqueFd folder(::open(mac.host(receipts).c_str(), O_RDONLY | O_DIRECTORY));
    ASSERT_TRUE(folder);

    std::atomic<bool> done{false};
    std::thread attacker([&] {
        while (!done)
            exchange(mac.host(receipts), mac.host(receipts + ".swap"));
    });
    auto local = mac.fileSystem();
    for (int round = 0; round < 300; ++round) {
        for (auto path : privilegedPaths)
            if (fs::path(path).parent_path() == receipts)
                UniqueFd(::openat(folder.get(), fs::path(path).filename().c_str(),
                                  O_WRONLY | O_CREAT | O_NOFOLLOW, 0644));
        removeProtectedPaths(local);
    }
    done = true;
    attacker.join();
    EXPECT_EQ(outside.snapshot(), before);
}

} // namespace
} // namespace sentravex
