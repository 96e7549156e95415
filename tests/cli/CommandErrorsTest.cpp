#include "CliRunner.h"
#include "MacFixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace sentravex {
namespace {

using test::MacFixture;
using test::runCli;

// Every error: exit 2, nothing on stdout, one line on stderr that begins with the program's name.
void expectOneLineError(const test::CliResult& r, const std::string& what) {
    EXPECT_EQ(r.code, 2) << what;
    EXPECT_TRUE(r.out.empty()) << what;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << what << ": " << r.err;
    EXPECT_EQ(r.err.rfind("sentravex-cli: ", 0), 0u) << what << ": " << r.err;
}

std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        names.push_back(entry.path().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(LoginName, EveryCommandRefusesOneThatCannotNameAHomeFolder) {
    MacFixture mac;
    mac.file("/Applications/Quorvane.app/Contents/Info.plist").folder("/demo");
    const auto before = entriesOf(mac.root());
    const std::vector<std::vector<std::string>> commands = {
        {"scan", "--root", mac.root()},
        {"remove", "--root", mac.root(), "--yes"},
        {"clean", "--root", mac.root()},
        {"demo", mac.host("/demo")},
    };
    for (const char* name : {"..", ".", "a/b", "/"})
        for (auto args : commands) {
            args.insert(args.end(), {"--user", name});
            const auto r = runCli(args);
            expectOneLineError(r, args.front() + " --user " + name);
            EXPECT_NE(r.err.find("not a login name"), std::string::npos) << r.err;
        }
    EXPECT_EQ(entriesOf(mac.root()), before);
}

// Sets an environment variable for the programs the test runs, and puts it back after.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(CommandErrors, AFileSystemFailureIsOneLineAndExitTwo) {
    MacFixture mac;
    mac.file("/plain");
    // The temporary folder a demo tree would go in is a file.
    ScopedEnvironment tmp("TMPDIR", mac.host("/plain"));
    expectOneLineError(runCli({"demo", "--user", "bob"}), "demo in a bad temporary folder");
}

TEST(CommandErrors, AMessageNamingALineBreakStaysOneLine) {
    MacFixture mac;
    expectOneLineError(runCli({"scan", "--root", mac.root() + "/two\nlines"}), "root");
    expectOneLineError(runCli({"scan", "--root", mac.root(), "--user", "a\n/b"}), "user");
}

} // namespace
} // namespace sentravex
