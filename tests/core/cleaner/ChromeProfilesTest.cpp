// Chrome's profile cache, read out of "Local State" without building the rest of the file: the
// same profiles as the whole file parsed would give, and the file read once per build.
#include "cleaner/ChromeProfiles.h"

#include "CountingFileSystem.h"
#include "MacFixture.h"
#include "cleaner/Cleaner.h"
#include "demo/CleanerDemo.h"
#include "platform/BoundedJson.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <utility>

namespace sentravex {
namespace {

using test::MacFixture;
using Profiles = std::vector<std::pair<std::string, std::string>>; // folder, name

std::string cache(std::string_view members) {
    return R"({"profile":{"info_cache":{)" + std::string(members) + "}}}";
}

std::string nestedArrays(std::size_t depth) {
    return std::string(depth, '[') + std::string(depth, ']');
}

// Beside the cache: a million empty objects, 200,000 members and a string of 8 MiB.
std::string hugeNeighbours() {
    std::string text = R"({"junk":[{})";
    for (int i = 1; i < 1'000'000; ++i)
        text += ",{}";
    text += R"(],"profile":{"info_cache":{"a":{"name":"A"}}},"many":{"k0":0)";
    for (int i = 1; i < 200'000; ++i)
        text += ",\"k" + std::to_string(i) + "\":0";
    text += R"(},"long":")" + std::string(8u << 20, 'x') + "\"}";
    return text;
}

std::optional<Profiles> read(const std::string& localState) {
    MacFixture mac;
    mac.file(mac.home("/Library/Application Support/Google/Chrome/Local State"), localState);
    const auto fs = mac.fileSystem();
    auto profiles = readChromeProfiles(fs, mac.user());
    if (!profiles)
        return std::nullopt;
    Profiles out;
    for (auto& p : *profiles)
        out.emplace_back(std::move(p.folder), std::move(p.name));
    return out;
}

struct ProfileCase {
    const char* name;
    std::string localState;
    Profiles profiles;
};

void PrintTo(const ProfileCase& c, std::ostream* os) {
    *os << c.name;
}

class ChromeProfileCases : public testing::TestWithParam<ProfileCase> {};

TEST_P(ChromeProfileCases, GivesTheProfilesOfTheWholeFile) {
    EXPECT_EQ(read(GetParam().localState), GetParam().profiles);
}

INSTANTIATE_TEST_SUITE_P(
    , ChromeProfileCases,
    testing::Values(
        ProfileCase{"FilesOrderNotSorted",
                    cache(R"("z":{"name":"Z"},"b":1,"m":[{"name":"no"}])"),
                    {{"z", "Z"}, {"b", "b"}, {"m", "m"}}},
        ProfileCase{"NameGivenTwiceKeepsItsFirstPlaceAndLastValue",
                    cache(R"("z":{"name":"A"},"b":{"name":"B"},"z":{"name":"C"})"),
                    {{"z", "C"}, {"b", "B"}}},
        ProfileCase{"ProfileGivenAgainWithoutANameGoesByItsFolder",
                    cache(R"("z":{"name":"A"},"y":{"name":"Y"},"z":{"x":"X"},"y":2)"),
                    {{"z", "z"}, {"y", "y"}}},
        ProfileCase{"NameMemberGivenTwiceTakesTheLast",
                    cache(R"("a":{"name":"A","name":5},"b":{"name":5,"name":"B"})"),
                    {{"a", "a"}, {"b", "B"}}},
        ProfileCase{"OnlyTheProfilesOwnNameString",
                    cache(R"("a":{"x":{"name":"deep"}},"b":{"name":["B"]},)"
                          R"("c":{"name":{"name":"C"}},"d":["name","D"],"e":{"name":null})"),
                    {{"a", "a"}, {"b", "b"}, {"c", "c"}, {"d", "d"}, {"e", "e"}}},
        ProfileCase{"InfoCacheGivenTwiceTakesTheLastObject",
                    R"({"profile":{"info_cache":{"a":{}},"info_cache":{"b":{},"c":{}}}})",
                    {{"b", "b"}, {"c", "c"}}},
        ProfileCase{
            "ProfileGivenTwiceTakesTheLast",
            R"({"profile":{"info_cache":{"a":{}}},"profile":{"x":0,"info_cache":{"b":{}}}})",
            {{"b", "b"}}},
        ProfileCase{"ALastCacheThatIsNoObjectGivesNone",
                    R"({"profile":{"info_cache":{"a":{}},"info_cache":[{"b":{}}]}})",
                    {}},
        ProfileCase{
            "ALastProfileWithoutTheCacheGivesNone",
            R"({"profile":{"info_cache":{"a":{}}},"profile":{"x":{"info_cache":{"b":{}}}}})",
            {}},
        ProfileCase{"SameNamesElsewhereAreNotThePath",
                    R"({"x":{"profile":{"info_cache":{"no":{}}}},"profile":{"y":{"info_cache":)"
                    R"({"no":{}}},"info_cache":{"yes":{}}},"q":[{"profile":{"info_cache":)"
                    R"({"no":{}}}}]})",
                    {{"yes", "yes"}}},
        ProfileCase{"UnsafeFolderNamesAreDropped",
                    cache(R"("..":{"name":"Up"},"a/b":{},"":{},".":{},"n\u0000ul":{},"ok":{})"),
                    {{"ok", "ok"}}},
        ProfileCase{"NoObjectThere", R"({"profile":{"info_cache":[1,2]}})", {}},
        ProfileCase{"NoPath", R"({"info_cache":{"a":{}}})", {}},
        ProfileCase{"NotAnObjectAtTheTop", R"([{"profile":{"info_cache":{"a":{}}}}])", {}},
        ProfileCase{"Unclosed", R"({"profile":{"info_cache":{"a":{}}})", {}},
        ProfileCase{"TrailingText", cache(R"("a":{})") + "x", {}},
        // The root, "profile" and the cache are three levels.
        ProfileCase{"NestingAtTheLimit",
                    cache(R"("a":{},"b":)" + nestedArrays(maxJsonDepth - 3)),
                    {{"a", "a"}, {"b", "b"}}},
        ProfileCase{"NestingBeyondTheLimitInTheCache",
                    cache(R"("a":{},"b":)" + nestedArrays(maxJsonDepth - 2)),
                    {}},
        ProfileCase{"NestingBeyondTheLimitElsewhere",
                    cache(R"("a":{})").insert(1, R"("x":)" + nestedArrays(maxJsonDepth) + ","),
                    {}},
        ProfileCase{"HugeMembersBesideTheCacheArePassedOver", hugeNeighbours(), {{"a", "A"}}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ChromeProfileCache, KeepsTheFirstProfilesOnly) {
    std::string members = R"("..":{},"a/b":{})"; // dropped, so not counted
    for (int i = 0; i < 40'000; ++i)
        members += ",\"k" + std::to_string(i) + R"(":{"name":"n)" + std::to_string(i) + "\"}";
    members += R"(,"k0":{"name":"again"},"late":{})";
    const auto profiles = read(cache(members));
    ASSERT_TRUE(profiles);
    ASSERT_EQ(profiles->size(), mostChromeProfiles);
    EXPECT_EQ(profiles->front(), (std::pair<std::string, std::string>{"k0", "again"}));
    EXPECT_EQ(profiles->back(), (std::pair<std::string, std::string>{"k255", "n255"}));
}

TEST(ChromeProfileCache, OneBuildReadsLocalStateOnce) {
    MacFixture mac("demo");
    ASSERT_TRUE(writeDemoFiles(mac.root(), mac.user(), cleanerDemoFiles()));
    const auto local = mac.fileSystem();
    test::CountingFileSystem fs(local);
    const auto categories = Cleaner(fs, mac.user()).availbleApp();
    EXPECT_EQ(fs.readsOf(chromeLocalStatePath(mac.user())), 1);

    // Both the Chrome rows and the extensions came from that reading.
    std::vector<std::string> rows;
    for (const auto& c : categories)
        for (const auto& item : c.List)
            rows.push_back(item.NameText);
    for (const char* row : {"Cookies (Work)", "KeePassXC-Browser v1.8.4 (Work)"})
        EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row;
}

} // namespace
} // namespace sentravex
