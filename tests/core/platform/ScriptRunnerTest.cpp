#include "MacFixture.h"
#include "platform/ScriptShape.h"
#include "platform/Spawn.h"
#include "platform/SystemScriptRunner.h"
#include "platform/UniqueFd.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace sentravex {
namespace {

using test::MacFixture;

TEST(ParseScript, KnowsTheThreeShapesAndNothingElse) {
    using S = ScriptShape;
    const std::pair<std::string, std::optional<S>> cases[] = {
        {"tell application \"Quorvane\"\nquit\nend tell", S{S::QuitApplication, "Quorvane"}},
        {"tell application \"System Events\"\nrestart\nend tell", S{S::Restart, {}}},
        {"do shell script \"rm -rf '/a b'\" with administrator privileges",
         S{S::AdministratorShell, "rm -rf '/a b'"}},
        {R"(do shell script "rm -rf '/M \"x\\y' end" with administrator privileges)",
         S{S::AdministratorShell, R"(rm -rf '/M "x\y' end)"}},
        // An unescaped quote would end the literal and let more script follow.
        {R"(do shell script "a" & "b" with administrator privileges)", std::nullopt},
        {R"(do shell script "a\nb" with administrator privileges)", std::nullopt},
        {R"(do shell script "a\" with administrator privileges)", std::nullopt},
        {"do shell script \"\" with administrator privileges", std::nullopt},
        {"do shell script \"touch x\"", std::nullopt},
        {"do shell script \"touch x\" with administrator privileges\n", std::nullopt},
        // The prompt that says why, one more literal held to the same rules.
        {R"(do shell script "rm x" with prompt "Why \"now\"" with administrator privileges)",
         S{S::AdministratorShell, "rm x", R"(Why "now")"}},
        {R"(do shell script "rm x" with prompt "" with administrator privileges)", std::nullopt},
        {R"(do shell script "rm x" with prompt "a" & "b" with administrator privileges)",
         std::nullopt},
        {R"(do shell script "rm x" with prompt "a\" with administrator privileges)", std::nullopt},
        {R"(do shell script "rm x" with prompt "a")", std::nullopt},
        {R"(do shell script "rm x" with administrator privileges with prompt "a")", std::nullopt},
        {R"(do shell script "rm x" with prompt "a" with prompt "b" with administrator privileges)",
         std::nullopt},
        {"tell application \"Quorvane\"\nactivate\nend tell", std::nullopt},
        {"tell application \"\"\nquit\nend tell", std::nullopt},
        {"tell application \"Finder\"\nrestart\nend tell", std::nullopt},
        {"display dialog \"hello\"", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [source, shape] : cases)
        EXPECT_EQ(parseScript(source), shape) << source;
}

bool hasOsascript() {
    return ::access("/usr/bin/osascript", X_OK) == 0;
}

TEST(SystemScriptRunner, RefusesAnyOtherScript) {
    if (hasOsascript())
        GTEST_SKIP() << "osascript runs every script";
    MacFixture mac;
    const std::string marker = mac.host("/ran");
    SystemScriptRunner runner;
    EXPECT_FALSE(runner.run("do shell script \"touch '" + marker + "'\""));
    EXPECT_FALSE(
        runner.run("tell application \"Quorvane\"\nquit\nend tell\ndo shell script \"touch '" +
                   marker + "'\" with administrator privileges"));
    EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST(SystemScriptRunner, RunsTheAdministratorCommandWithTheShellWhenRoot) {
    if (hasOsascript() || ::geteuid() != 0)
        GTEST_SKIP() << "would ask for authorisation";
    MacFixture mac;
    const std::string marker = mac.host("/it's ran");
    SystemScriptRunner runner;
    EXPECT_TRUE(runner.run(R"(do shell script "touch '/dev/null' && touch ')" + mac.host("/it") +
                           R"('\\''s ran'" with administrator privileges)"));
    EXPECT_TRUE(std::filesystem::exists(marker));
    EXPECT_FALSE(runner.run("do shell script \"exit 3\" with administrator privileges"));
}

// posix_spawn returns once the program runs, so it already carries its name.
pid_t startNamed(const std::string& program) {
    const char* argv[] = {program.c_str(), "30", nullptr};
    pid_t pid = 0;
    return ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, const_cast<char**>(argv),
                         environ) == 0
               ? pid
               : -1;
}

TEST(SystemScriptRunner, QuitTerminatesOnlyProcessesOfExactlyThatName) {
    if (hasOsascript())
        GTEST_SKIP() << "osascript quits applications itself";
    MacFixture mac;
    const std::string named = mac.host("/sxQuorvane"), longer = mac.host("/sxQuorvane2");
    std::filesystem::copy_file("/bin/sleep", named);
    std::filesystem::copy_file("/bin/sleep", longer);
    pid_t target = startNamed(named), other = startNamed(longer);
    ASSERT_GT(target, 0);
    ASSERT_GT(other, 0);

    EXPECT_TRUE(SystemScriptRunner().run("tell application \"sxQuorvane\"\nquit\nend tell"));
    int status = 0;
    ASSERT_EQ(::waitpid(target, &status, 0), target);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(::waitpid(other, &status, WNOHANG), 0);
    ::kill(other, SIGKILL);
    ::waitpid(other, &status, 0);
}

// A descriptor of ours without close-on-exec (as dup makes them) never reaches a spawned
// program, which may run with administrator rights; its standard error still does.
TEST(SpawnAndWait, TheProgramInheritsOnlyTheStandardDescriptors) {
    UniqueFd leaky(::fcntl(STDERR_FILENO, F_DUPFD, 100));
    ASSERT_TRUE(leaky);
    ASSERT_EQ(::fcntl(leaky.get(), F_GETFD) & FD_CLOEXEC, 0);
    const std::string fd = std::to_string(leaky.get());
    EXPECT_TRUE(spawnAndWait({"/bin/sh", "-c", "[ ! -e /dev/fd/" + fd + " ]"}));
    EXPECT_TRUE(spawnAndWait({"/bin/sh", "-c", "[ -e /dev/fd/2 ]"}));
    EXPECT_FALSE(spawnAndWait({"/bin/sh", "-c", "exit 3"}));
}

} // namespace
} // namespace sentravex
