// Browser files are anyone's to write: one larger than any real store is skipped, and one nested
// without bound is refused, without reading it whole or exhausting the stack.
#include "Fixtures.h"
#include "MacFixture.h"
#include "cleaner/ChromeProfiles.h"
#include "cleaner/Cleaner.h"
#include "cleaner/ExtensionScan.h"
#include "cleaner/JsonFile.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

namespace sentravex {
namespace {

using test::MacFixture;
using test::realFile;

const std::string chromeDir = "/Library/Application Support/Google/Chrome";
const std::string badgerFolder =
    chromeDir + "/Default/Extensions/pkehgijcmpdhfbdbbnkijodmdjhbjlgp/2020.10.7_0";
const std::string firefoxProfile = "/Library/Application Support/Firefox/Profiles/k3.default-esr";

// One browser file, the real content it normally holds, and what the program reads from it.
struct BrowserFile {
    const char* name;
    std::string path; // inside the home folder
    std::function<std::string(const MacFixture&)> content;
    std::function<std::vector<std::string>(const MacFixture&)> read; // the names it yields
};

void PrintTo(const BrowserFile& f, std::ostream* os) {
    *os << f.name;
}

// Chrome with the real profile cache and the real Privacy Badger, whose name is a "__MSG_"
// placeholder; Firefox with one add-on inside its profile.
void writeBrowsers(MacFixture& mac) {
    mac.file(mac.home(chromeDir + "/Local State"), realFile("chrome/Local State"))
        .file(mac.home(badgerFolder + "/manifest.json"),
              realFile("chrome/privacy-badger/manifest.json"))
        .file(mac.home(badgerFolder + "/_locales/en_US/messages.json"),
              realFile("chrome/privacy-badger/_locales/en_US/messages.json"))
        .file(mac.home(firefoxProfile + "/extensions/addon@example.xpi"), "PK");
}

std::string firefoxStore(const MacFixture& mac) {
    return Json{{"addons",
                 {{{"path", mac.home(firefoxProfile + "/extensions/addon@example.xpi")},
                   {"version", "1.0"},
                   {"defaultLocale", {{"name", "Example"}}}}}}}
        .dump();
}

std::vector<std::string> chromeProfileNames(const MacFixture& mac) {
    std::vector<std::string> names;
    auto fs = mac.fileSystem();
    for (const auto& p : readChromeProfiles(fs, mac.user()).value_or(std::vector<ChromeProfile>{}))
        names.push_back(p.name);
    return names;
}

std::vector<std::string> chromeExtensionNames(const MacFixture& mac) {
    std::vector<std::string> names;
    auto fs = mac.fileSystem();
    for (const auto& r : ExtensionScan::getChromeExtantionList(fs, mac.user()))
        names.push_back(r.nameExt);
    return names;
}

std::vector<std::string> firefoxAddOnNames(const MacFixture& mac) {
    std::vector<std::string> names;
    auto fs = mac.fileSystem();
    for (const auto& r : ExtensionScan::getFirefoxExtantionList(fs, mac.user()))
        names.push_back(r.nameExt);
    return names;
}

const BrowserFile kFiles[] = {
    {"ChromeLocalState", chromeDir + "/Local State",
     [](const MacFixture&) { return realFile("chrome/Local State"); }, chromeProfileNames},
    {"ChromeManifest", badgerFolder + "/manifest.json",
     [](const MacFixture&) { return realFile("chrome/privacy-badger/manifest.json"); },
     chromeExtensionNames},
    {"ChromeMessages", badgerFolder + "/_locales/en_US/messages.json",
     [](const MacFixture&) {
         return realFile("chrome/privacy-badger/_locales/en_US/messages.json");
     },
     chromeExtensionNames},
    {"FirefoxExtensions", firefoxProfile + "/extensions.json", firefoxStore, firefoxAddOnNames},
};

// Nothing usable came out: no names, or only the placeholder a manifest's name stays without
// its messages.
bool nothingRead(const std::vector<std::string>& names) {
    return std::all_of(names.begin(), names.end(),
                       [](const std::string& n) { return n.starts_with("__MSG_"); });
}

class BrowserFileBounds : public testing::TestWithParam<BrowserFile> {};

TEST_P(BrowserFileBounds, TheRealFileIsRead) {
    MacFixture mac;
    writeBrowsers(mac);
    mac.file(mac.home(GetParam().path), GetParam().content(mac));
    EXPECT_FALSE(nothingRead(GetParam().read(mac)));
}

TEST_P(BrowserFileBounds, AFileLargerThanAnyRealStoreIsSkipped) {
    MacFixture mac;
    writeBrowsers(mac);
    // The real content, then blanks up to one byte past the limit: still valid JSON.
    const std::string host = mac.host(mac.home(GetParam().path));
    std::filesystem::create_directories(std::filesystem::path(host).parent_path());
    std::ofstream out(host, std::ios::binary);
    const std::string content = GetParam().content(mac);
    out << content;
    const std::string blanks(1 << 20, ' ');
    for (std::size_t left = largestStore + 1 - content.size(); left > 0;) {
        auto n = std::min(left, blanks.size());
        out.write(blanks.data(), static_cast<std::streamsize>(n));
        left -= n;
    }
    out.close();
    ASSERT_EQ(std::filesystem::file_size(host), largestStore + 1);
    EXPECT_TRUE(nothingRead(GetParam().read(mac)));
}

TEST_P(BrowserFileBounds, AMillionLevelsOfNestingAreRefused) {
    MacFixture mac;
    writeBrowsers(mac);
    const std::size_t depth = 1'000'000;
    std::string nested = R"({"profile":{"info_cache":{"Default":)";
    nested.reserve(depth * 6 + 64);
    for (std::size_t i = 0; i < depth; ++i)
        nested += R"({"a":)";
    nested += "1";
    nested.append(depth, '}');
    nested += "}}}";
    mac.file(mac.home(GetParam().path), nested);
    EXPECT_TRUE(nothingRead(GetParam().read(mac)));
}

INSTANTIATE_TEST_SUITE_P(, BrowserFileBounds, testing::ValuesIn(kFiles),
                         [](const auto& test) { return std::string(test.param.name); });

// A small file naming many profiles: only the first ones, in the file's order, make rows.
TEST(ChromeProfileCache, ManyProfilesAreCutAtTheBound) {
    MacFixture mac;
    std::string cache = R"({"profile":{"info_cache":{)";
    const std::size_t listed = mostChromeProfiles + 44;
    for (std::size_t i = 0; i < listed; ++i)
        cache += (i ? "," : "") + ("\"P" + std::to_string(listed - i) + "\":{}");
    mac.file(mac.home(chromeDir + "/Local State"), cache + "}}}")
        .folder("/Applications/Google Chrome.app");
    const auto names = chromeProfileNames(mac);
    ASSERT_EQ(names.size(), mostChromeProfiles);
    EXPECT_EQ(names.front(), "P" + std::to_string(listed));
    EXPECT_EQ(names.back(), "P" + std::to_string(listed - mostChromeProfiles + 1));
    const auto fs = mac.fileSystem();
    EXPECT_EQ(Cleaner(fs, mac.user(), false).addGoogleChromeDetails()->List.size(),
              9 * mostChromeProfiles + 1);
}

} // namespace
} // namespace sentravex
