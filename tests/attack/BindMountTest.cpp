// A folder from outside the root bind-mounted into a cache: it has the device of the cache, and
// the command line must still neither count it nor delete anything in it.
#include "CliRunner.h"
#include "MacFixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#ifdef __linux__
#include <sched.h>
#include <sys/mount.h>
#endif
#include <unistd.h>

namespace sentravex {
namespace {

using test::MacFixture;
using test::runCli;
using test::SentinelFolder;

#ifdef __linux__
constexpr int cannotMount = 77;

TEST(BindMount, InACacheIsNeitherCountedNorEmptied) {
    MacFixture mac;
    SentinelFolder outside;
    const auto before = outside.snapshot();
    const std::string caches = mac.home("/Library/Caches");
    mac.file(caches + "/own", std::string(5000, 'o')).folder(caches + "/Bound");
    const std::string from = outside.path(), to = mac.host(caches + "/Bound");
    // The mount lives in the command's own mount namespace, and ends with it.
    auto mounted = [&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(from.c_str(), to.c_str(), nullptr, MS_BIND, nullptr) != 0)
            ::_exit(cannotMount);
    };
    const std::vector<std::string> common{"clean", "--root", mac.root(), "--user", mac.user()};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), common.begin(), common.end());
        return more;
    };

    const auto listed = runCli(with({"--json"}), false, mounted);
    if (listed.code == cannotMount)
        GTEST_SKIP() << "bind mounts need the superuser and a mount namespace of its own";
    ASSERT_EQ(listed.code, 0) << listed.err;
    const auto doc = nlohmann::json::parse(listed.out);
    for (const auto& category : doc["categories"])
        if (category["name"] == "System") {
            EXPECT_EQ(category["items"][0]["bytes"], test::blocksOf(mac.host(caches + "/own")));
        }

    const auto cleaned =
        runCli(with({"--select", "System/System Cache Files", "--apply"}), false, mounted);
    EXPECT_EQ(cleaned.code, 1) << cleaned.out << cleaned.err;
    EXPECT_NE(cleaned.out.find("not removed  " + caches +
                               "  (left on another file system: " + caches + "/Bound)"),
              std::string::npos)
        << cleaned.out;
    EXPECT_EQ(outside.snapshot(), before);
    EXPECT_FALSE(std::filesystem::exists(mac.host(caches + "/own")));
}
#endif

} // namespace
} // namespace sentravex
