#include "CliRunner.h"
#include "MacFixture.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace sentravex {
namespace {

using test::CliResult;
using test::MacFixture;
using test::runCli;
using Json = nlohmann::json;

// A name that would forge a line of its own and clear the screen, and how the text shows it.
const std::string forged = "x\ndeleted  everything\x1b[2J\r";
const std::string forgedShown = "x\\ndeleted  everything\\e[2J\\r";
const std::string user = "eve\n\x1b[2J";
const std::string userShown = "eve\\n\\e[2J";
const std::string chromeDir = "/Library/Application Support/Google/Chrome";

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A line that is `line`, or, with `prefix`, begins with it.
bool hasLine(const std::string& text, const std::string& line, bool prefix = false) {
    const auto lines = linesOf(text);
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
        return prefix ? l.rfind(line, 0) == 0 : l == line;
    });
}

// Nothing but whole lines: no carriage return, escape or other control character.
void expectPlainLines(const CliResult& r, const std::string& what) {
    for (const std::string* stream : {&r.out, &r.err})
        for (char c : *stream) {
            const auto byte = static_cast<unsigned char>(c);
            ASSERT_TRUE(c == '\n' || (byte >= 0x20 && byte != 0x7F))
                << what << ": byte " << int(byte) << " in\n"
                << *stream;
        }
    for (const auto& line : linesOf(r.out))
        EXPECT_NE(line.rfind("deleted  everything", 0), 0u) << what << ": a forged line";
}

// A Quorvane application, a Chrome extension, a locked trash entry and Safari's history, every
// one named to forge lines, in the home folder of a user whose name does the same.
class TerminalOutput : public testing::Test {
protected:
    void SetUp() override {
        extension = mac.home(chromeDir + "/Default/Extensions/id" + forged);
        locked = mac.home("/.Trash/locked" + forged);
        mac.file("/Applications/Quorvane.app" + forged + "/Contents/Info.plist")
            .folder("/Applications/Safari.app")
            .file(mac.home("/Library/Safari/History.db"), "h")
            .folder("/Applications/Google Chrome.app")
            .file(mac.home(chromeDir + "/Local State"),
                  R"({"profile":{"info_cache":{"Default":{"name":"Person 1"}}}})")
            .file(extension + "/1.0_0/manifest.json",
                  Json{{"name", "Tabber" + forged}, {"version", "1.0"}}.dump())
            .file(locked + "/inner", "x");
        // The account running the command may read the tree but not change the locked folder or
        // read Safari's.
        for (auto& e : std::filesystem::recursive_directory_iterator(mac.root()))
            ::chmod(e.path().c_str(), e.is_directory() ? 0777 : 0666);
        ::chmod(mac.root().c_str(), 0755);
        ::chmod(mac.host(locked).c_str(), 0555);
        ::chmod(mac.host(mac.home("/Library/Safari")).c_str(), 0);
    }
    void TearDown() override {
        ::chmod(mac.host(locked).c_str(), 0755);
        ::chmod(mac.host(mac.home("/Library/Safari")).c_str(), 0755);
    }
    CliResult run(std::vector<std::string> args, bool asNobody = true) {
        args.insert(args.begin() + 1, {"--root", mac.root(), "--user", user});
        return runCli(args, asNobody);
    }
    bool permissionsBind() {
        return ::geteuid() == 0 || ::access(mac.host(locked).c_str(), W_OK) != 0;
    }

    MacFixture mac{user};
    std::string extension;
    std::string locked;
};

TEST_F(TerminalOutput, EachFindIsOneLineAndNoSequenceReachesTheTerminal) {
    if (!permissionsBind())
        GTEST_SKIP() << "permissions do not bind this account";
    const auto json = run({"scan", "--json"});
    if (json.code == 126 || json.code == 127)
        GTEST_SKIP() << "the unprivileged account cannot run the command from this build folder";
    ASSERT_EQ(json.code, 1) << json.err;
    const auto finds = Json::parse(json.out)["threats"].size();

    const auto scan = run({"scan"});
    expectPlainLines(scan, "scan");
    EXPECT_EQ(linesOf(scan.out).size(), finds + 1) << scan.out;
    EXPECT_TRUE(hasLine(scan.out, "/Applications/Quorvane.app" + forgedShown + "  Quorvane.app" +
                                      forgedShown))
        << scan.out;

    const std::string extensionShown =
        "/Users/" + userShown + chromeDir + "/Default/Extensions/id" + forgedShown;
    const std::string lockedShown = "/Users/" + userShown + "/.Trash/locked" + forgedShown;
    const auto listing = run({"clean"});
    expectPlainLines(listing, "clean");
    EXPECT_TRUE(hasLine(listing.out, "    Tabber" + forgedShown + " v1.0 (Person 1)"))
        << listing.out;
    EXPECT_EQ(linesOf(listing.err).size(), 1u) << listing.err;
    EXPECT_NE(listing.err.find("first /Users/" + userShown + "/Library/Safari/"), std::string::npos)
        << listing.err;

    std::vector<std::string> clean = {"clean", "--select",
                                      "Browser Extensions/Google Chrome Extensions", "--select",
                                      "System/Trash Files"};
    const auto planned = run(clean);
    expectPlainLines(planned, "clean --select");
    EXPECT_TRUE(hasLine(planned.out, "would delete  " + extensionShown)) << planned.out;
    EXPECT_TRUE(hasLine(planned.out, "would delete  " + lockedShown)) << planned.out;

    clean.push_back("--apply");
    const auto applied = run(clean);
    expectPlainLines(applied, "clean --apply");
    EXPECT_EQ(applied.code, 1) << applied.err;
    EXPECT_TRUE(hasLine(applied.out, "deleted  " + extensionShown)) << applied.out;
    EXPECT_TRUE(hasLine(applied.out, "not removed  " + lockedShown, true)) << applied.out;

    // Run as this account: removing an application may need administrator rights.
    const auto remove = run({"remove", "--yes"}, false);
    expectPlainLines(remove, "remove");
    EXPECT_TRUE(hasLine(remove.out, "Removed  /Applications/Quorvane.app" + forgedShown))
        << remove.out;

    const auto error = runCli({"scan", "--root", mac.root() + "/gone" + forged});
    expectPlainLines(error, "a failure");
    EXPECT_EQ(error.code, 2);
    EXPECT_NE(error.err.find("gone" + forgedShown), std::string::npos) << error.err;
}

} // namespace
} // namespace sentravex
