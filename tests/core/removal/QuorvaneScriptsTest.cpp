#include "removal/QuorvaneScripts.h"

#include "MacFixture.h"
#include "platform/Root.h"
#include "platform/ScriptShape.h"
#include "removal/PrivilegedPaths.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

extern char** environ;

namespace sentravex {
namespace {

using test::MacFixture;

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
    EXPECT_EQ(scripts::DeleteQuorvaneApp(),
              "do shell script \"rm -rf /Applications/Quorvane.app "
              "/private/tmp/com.quorvane.Quorvane.Installer.config "
              "/private/var/db/receipts/com.quorvane.Quorvane.affid.pkg.plist "
              "/private/var/db/receipts/com.quorvane.Quorvane.affid.pkg.bom "
              "/private/var/db/receipts/com.quorvane.Quorvane.pkg.plist "
              "/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom "
              "/Library/Preferences/.3FAD0F65-FC6E-4889-B975-B96CBF807B78\" "
              "with prompt \"Sentravex needs to remove Quorvane's protected files.\" "
              "with administrator privileges");
}

// The device and inode of a host folder, as the helper's options take them.
std::pair<std::string, std::string> identityOf(const std::string& host) {
    struct stat st {};
    EXPECT_EQ(::stat(host.c_str(), &st), 0) << host;
    return {std::to_string(st.st_dev), std::to_string(st.st_ino)};
}

TEST(QuorvaneScripts, DeletionUnderAnotherRootRunsTheHelperWithTheRootQuotedAndEscaped) {
    MacFixture outer;
    outer.folder(R"(/Mac HD's "old")");
    const auto real = std::filesystem::canonical(outer.root()).string();
    const auto [device, inode] = identityOf(outer.host(R"(/Mac HD's "old")"));
    EXPECT_EQ(scripts::DeleteQuorvaneAppUnder("/Applications/Sentravex.app/Contents/MacOS/cli",
                                              Root(outer.host(R"(/Mac HD's "old")"))),
              "do shell script \"/Applications/Sentravex.app/Contents/MacOS/cli remove-protected "
              "--root '" +
                  real + R"(/Mac HD'\\''s \"old\"' --root-device )" + device + " --root-inode " +
                  inode +
                  R"(" with prompt "Sentravex needs to remove Quorvane's protected files." )"
                  "with administrator privileges");
    EXPECT_EQ(scripts::DeleteQuorvaneAppUnder("/cli", Root(outer.host("/absent"))), std::nullopt)
        << "a root that is not open has nothing to name";
}

// The administrator prompt says why it asks; the shape is still recognised where no AppleScript
// runs.
TEST(QuorvaneScripts, BothDeletionsAskWithThePromptThatSaysWhy) {
    for (const auto& script :
         {scripts::DeleteQuorvaneApp(), *scripts::DeleteQuorvaneAppUnder("/cli", Root("/"))}) {
        auto shape = parseScript(script);
        ASSERT_TRUE(shape) << script;
        EXPECT_EQ(shape->kind, ScriptShape::AdministratorShell);
        EXPECT_EQ(shape->prompt, "Sentravex needs to remove Quorvane's protected files.");
    }
    EXPECT_EQ(parseScript(scripts::DeleteQuorvaneApp())->argument, scripts::deletionCommand());
}

// The kernel takes "A/lnk/.." to the folder above the link's target, not to A: the helper is
// told the folder that was opened, by the path the kernel resolved and by its identity.
TEST(QuorvaneScripts, TheHelperIsToldTheOpenedFolderNotTheTextOfItsPath) {
    MacFixture outer;
    outer.folder("/A").folder("/B/sub").link("/A/lnk", "../B/sub");
    const auto opened = std::filesystem::canonical(outer.host("/B")).string();
    const auto [device, inode] = identityOf(opened);
    EXPECT_EQ(scripts::deletionCommandUnder("/cli", Root(outer.host("/A/lnk/.."))),
              "/cli remove-protected --root " + scripts::shellQuoted(opened) + " --root-device " +
                  device + " --root-inode " + inode);
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

// The command, decoded from the script as the runner does, run by a real shell with a helper and
// a root whose names try to break out: the helper gets the root as one word, nothing else runs.
TEST(QuorvaneScripts, TheDecodedCommandHandsAHostileRootToTheHelperAsOneWord) {
    MacFixture outer;
    const std::string rootName = "/Mac HD's \"x\" $(touch pwned); `touch pwned2` \\ end";
    outer.folder(rootName);
    const std::string helper = outer.host("/it's the helper");
    const std::string arguments = outer.host("/arguments");
    std::ofstream(helper) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << arguments << "'\n";
    std::filesystem::permissions(helper, std::filesystem::perms::owner_all);

    auto shape =
        parseScript(scripts::DeleteQuorvaneAppUnder(helper, Root(outer.host(rootName))).value());
    ASSERT_TRUE(shape);
    ASSERT_EQ(shape->kind, ScriptShape::AdministratorShell);
    EXPECT_EQ(runShell(shape->argument), 0);

    std::ifstream in(arguments);
    std::vector<std::string> words;
    for (std::string line; std::getline(in, line);)
        words.push_back(line);
    const auto [device, inode] = identityOf(outer.host(rootName));
    EXPECT_EQ(words,
              (std::vector<std::string>{"remove-protected", "--root",
                                        std::filesystem::canonical(outer.host(rootName)).string(),
                                        "--root-device", device, "--root-inode", inode}));
    for (const char* stray : {"pwned", "pwned2"})
        EXPECT_FALSE(std::filesystem::exists(stray)) << stray;
}

} // namespace
} // namespace sentravex
