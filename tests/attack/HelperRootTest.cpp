// The privileged helper looks the root up again, later (after a password prompt) and from
// another process: it must delete under the very folder that was scanned, or nothing.
#include "CliRunner.h"
#include "MacFixture.h"
#include "platform/Root.h"
#include "removal/QuorvaneScripts.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

namespace sentravex {
namespace {

using test::MacFixture;
using test::runCli;
using test::runProgram;
namespace fs = std::filesystem;

const std::string app = "/Applications/Quorvane.app/Contents/MacOS/Quorvane";
const std::string receipt = "/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom";

std::set<std::string> tree(const std::string& root) {
    std::set<std::string> out;
    for (auto& e : fs::recursive_directory_iterator(root))
        out.insert(e.path().string().substr(root.size()));
    return out;
}

// The command as the removal hands it to the privileged shell, run by a real shell with the real
// helper.
test::CliResult runHelperFor(const Root& root) {
    const auto command = scripts::deletionCommandUnder(SENTRAVEX_CLI, root);
    EXPECT_TRUE(command);
    return runProgram({"/bin/sh", "-c", command.value_or("exit 99")});
}

// "A/lnk/.." is, for the kernel, the folder above the link's target: that is what was opened
// and scanned, and what the helper deletes in; A, which the text of the path suggests, is never
// touched.
TEST(HelperRoot, DeletesUnderTheFolderTheKernelOpened) {
    MacFixture outer;
    outer.file("/A" + app).file("/A" + receipt).file("/B" + app).file("/B" + receipt);
    outer.folder("/B/sub").link("/A/lnk", "../B/sub");
    const auto r = runHelperFor(Root(outer.host("/A/lnk/..")));
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_FALSE(fs::exists(outer.host("/B/Applications/Quorvane.app")));
    EXPECT_FALSE(fs::exists(outer.host("/B" + receipt)));
    EXPECT_TRUE(fs::exists(outer.host("/A" + app)));
    EXPECT_TRUE(fs::exists(outer.host("/A" + receipt)));
}

// Another folder standing at the scanned root's path by the time the helper runs, or an identity
// that is not the folder's: nothing anywhere is deleted, exit 2 with one line.
TEST(HelperRoot, RefusesARootWhoseIdentityDiffers) {
    MacFixture outer;
    outer.file("/Mac" + app).file("/Mac" + receipt).file("/Other" + app);
    const auto command = scripts::deletionCommandUnder(SENTRAVEX_CLI, Root(outer.host("/Mac")));
    ASSERT_TRUE(command);
    fs::rename(outer.host("/Mac"), outer.host("/Scanned"));
    outer.file("/Mac" + app).file("/Mac" + receipt);
    struct stat other {};
    ASSERT_EQ(::stat(outer.host("/Other").c_str(), &other), 0);
    const auto mac = fs::canonical(outer.host("/Mac")).string();
    const auto before = tree(outer.root());

    const std::vector<std::pair<const char*, test::CliResult>> runs = {
        {"another folder moved in", runProgram({"/bin/sh", "-c", *command})},
        {"the identity of another folder",
         runCli({"remove-protected", "--root", mac, "--root-device", std::to_string(other.st_dev),
                 "--root-inode", std::to_string(other.st_ino)})},
        {"no identity", runCli({"remove-protected", "--root", mac})},
    };
    for (const auto& [what, r] : runs) {
        EXPECT_EQ(r.code, 2) << what;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << what << ": " << r.err;
        EXPECT_EQ(r.err.rfind("sentravex-cli: ", 0), 0u) << what << ": " << r.err;
    }
    EXPECT_EQ(tree(outer.root()), before);
}

} // namespace
} // namespace sentravex
