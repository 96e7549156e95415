#include "removal/QuorvaneScripts.h"

#include "MacFixture.h"
#include "platform/Root.h"
#include "platform/ScriptShape.h"
#include "removal/PrivilegedPaths.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace sentravex {
namespace {

using test::MacFixture;
using test::SentinelFolder;

// Runs a command through /bin/sh as the privileged deletion would, without any privilege.
int runShell(const std::string& command) {
    const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(QuorvaneScripts, QuitAndRestartAreThreeLinesEach) {
    EXPECT_EQ(scripts::closeQuorvaneApp(), "tell application \"Quorvane\"\nquit\nend tell");
    EXPECT_EQ(scripts::RestatSystem(), "tell application \"System Events\"\nrestart\nend tell");
}

TEST(QuorvaneScripts, DeletionForTheSystemRootNamesTheSevenPathsAsTheyAre) {
    EXPECT_EQ(scripts::DeleteQuorvaneApp(Root("/")),
              "do shell script \"rm -rf /Applications/Quorvane.app "
              "/private/tmp/com.quorvane.Quorvane.Installer.config "
              "/private/var/db/receipts/com.quorvane.Quorvane.affid.pkg.plist "
              "/private/var/db/receipts/com.quorvane.Quorvane.affid.pkg.bom "
              "/private/var/db/receipts/com.quorvane.Quorvane.pkg.plist "
              "/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom "
              "/Library/Preferences/.3FAD0F65-FC6E-4889-B975-B96CBF807B78\" "
              "with administrator privileges");
}

TEST(QuorvaneScripts, DeletionUnderARootWithBlanksAndQuotesIsQuotedAndEscaped) {
    const std::string p = R"('/Volumes/Mac HD'\\''s \"old\")";
    EXPECT_EQ(scripts::DeleteQuorvaneApp(Root(R"(/Volumes/Mac HD's "old")")),
              "do shell script \"rm -rf " + p + "/Applications/Quorvane.app' " + p +
                  "/private/tmp/com.quorvane.Quorvane.Installer.config' " + p +
                  "/private/var/db/receipts/com.quorvane.Quorvane.affid.pkg.plist' " + p +
                  "/private/var/db/receipts/com.quorvane.Quorvane.affid.pkg.bom' " + p +
                  "/private/var/db/receipts/com.quorvane.Quorvane.pkg.plist' " + p +
                  "/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom' " + p +
                  "/Library/Preferences/.3FAD0F65-FC6E-4889-B975-B96CBF807B78'\" "
                  "with administrator privileges");
}

TEST(QuorvaneScripts, ShellQuotingLeavesPlainWordsAndQuotesTheRest) {
    const std::pair<const char*, const char*> cases[] = {
        {"/private/tmp/a.b-c_d", "/private/tmp/a.b-c_d"},
        {"/Mac HD", "'/Mac HD'"},
        {"it's", "'it'\\''s'"},
        {"$(touch x);`y`\\", "'$(touch x);`y`\\'"},
        {"", "''"},
    };
    for (auto [word, quoted] : cases)
        EXPECT_EQ(scripts::shellQuoted(word), quoted) << word;
}

// The command, decoded from the script as the runner does, run by a real shell under a root whose
// name tries to break out: exactly the seven paths go, nothing else runs.
TEST(QuorvaneScripts, TheDecodedCommandRemovesExactlyTheSevenPathsUnderAHostileRoot) {
    MacFixture outer;
    const std::string rootName = "/Mac HD's \"x\" $(touch pwned); `touch pwned2` \\ end";
    outer.folder(rootName);
    for (auto path : privilegedPaths)
        outer.file(rootName + std::string(path) + (path.ends_with(".app") ? "/Contents/x" : ""));
    outer.file(rootName + "/private/var/db/receipts/com.apple.keep.plist");
    Root root(outer.host(rootName));

    auto shape = parseScript(scripts::DeleteQuorvaneApp(root));
    ASSERT_TRUE(shape);
    ASSERT_EQ(shape->kind, ScriptShape::AdministratorShell);
    EXPECT_EQ(shape->argument, scripts::deletionCommand(root));
    EXPECT_EQ(runShell(shape->argument), 0);

    for (auto path : privilegedPaths)
        EXPECT_FALSE(std::filesystem::exists(outer.host(rootName + std::string(path)))) << path;
    EXPECT_TRUE(std::filesystem::exists(
        outer.host(rootName + "/private/var/db/receipts/com.apple.keep.plist")));
    for (const char* stray : {"pwned", "pwned2"})
        EXPECT_FALSE(std::filesystem::exists(stray)) << stray;
}

TEST(QuorvaneScripts, ALinkedFolderOnTheWayIsResolvedInsideTheRoot) {
    MacFixture mac;
    SentinelFolder outside;
    const std::string config = "/com.quorvane.Quorvane.Installer.config";
    std::ofstream(outside.path() + config) << "outside";
    const auto before = outside.snapshot();
    mac.link("/private/tmp", outside.path()).file(outside.path() + config, "inside");

    EXPECT_EQ(runShell(scripts::deletionCommand(Root(mac.root()))), 0);
    EXPECT_FALSE(std::filesystem::exists(mac.host(outside.path() + config)));
    EXPECT_EQ(outside.snapshot(), before);
}

} // namespace
} // namespace sentravex
