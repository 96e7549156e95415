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

// A root that holds none of a Mac disk's top folders, or no home folder of the user, would be
// scanned in fewer places and reported clean: every command on a Mac refuses it instead, naming
// the root as it was given. Links inside the root are followed to the home as everywhere.
TEST(MacDisk, EveryCommandRefusesARootWithoutTheDiskOrTheHome) {
    MacFixture outer;
    test::SentinelFolder outside;
    outer.file("/mac/Library/Logs/Quorvane.log").folder("/mac/Users/demo/Documents");
    outer.file("/filehome/Library/Logs/Quorvane.log").file("/filehome/Users/demo");
    outer.file("/linkhome/Library/Logs/Quorvane.log").folder("/linkhome/Homes/demo");
    outer.link("/linkhome/Users/demo", "/Homes/demo");
    outer.folder("/outhome/Applications").link("/outhome/Users/demo", outside.path());
    const auto before = entriesOf(outer.root());
    const auto refused = [](const std::string& why) { return "sentravex-cli: " + why + "\n"; };
    struct Case {
        std::string root, user, err; // no error: the commands go on
    };
    const Case cases[] = {
        {outer.host("/mac"), "demo", ""},
        {outer.host("/linkhome"), "demo", ""},
        {outer.host("/mac"), "demoo",
         refused("no home folder /Users/demoo under " + outer.host("/mac"))},
        {outer.host("/mac/."), "demoo",
         refused("no home folder /Users/demoo under " + outer.host("/mac/."))},
        {outer.host("/filehome"), "demo",
         refused("no home folder /Users/demo under " + outer.host("/filehome"))},
        {outer.host("/outhome"), "demo",
         refused("no home folder /Users/demo under " + outer.host("/outhome"))},
        {outer.host("/mac/Users"), "demo",
         refused(outer.host("/mac/Users") + " does not look like a Mac disk")},
        {outer.host("/mac/Users"), "demoo",
         refused(outer.host("/mac/Users") + " does not look like a Mac disk")},
    };
    const std::vector<std::vector<std::string>> commands = {
        {"scan"}, {"remove", "--yes"}, {"clean"}};
    for (const auto& c : cases)
        // What is accepted is only scanned, so that nothing is deleted.
        for (auto args :
             c.err.empty() ? std::vector(commands.begin(), commands.begin() + 1) : commands) {
            const auto what = args.front() + " --root " + c.root + " --user " + c.user;
            args.insert(args.end(), {"--root", c.root, "--user", c.user});
            const auto r = runCli(args);
            if (c.err.empty())
                EXPECT_EQ(r.code, 1) << what << ": " << r.err;
            else
                expectOneLineError(r, what);
            EXPECT_EQ(r.err, c.err) << what;
        }
    EXPECT_EQ(entriesOf(outer.root()), before) << "nothing is deleted where the commands refuse";
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
