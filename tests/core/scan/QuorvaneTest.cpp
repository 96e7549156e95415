#include "scan/Quorvane.h"

#include "MacFixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace sentravex {
namespace {

using test::MacFixture;

TEST(Quorvane, RecordOfAnExistingFolderIsAvailableAndBlack) {
    MacFixture mac;
    mac.folder("/Applications/Quorvane.app");
    auto fs = mac.fileSystem();
    auto q = Quorvane::QuorvaneWithName(fs, "Quorvane.app", true, "Quorvane", 0,
                                        "/Applications/Quorvane.app", "High Risk");
    EXPECT_TRUE(q->isAvail());
    EXPECT_TRUE(q->isChecked());
    EXPECT_EQ(q->redGreen(), colors::black);
    EXPECT_TRUE(q->isNoAction());
    EXPECT_FALSE(q->isDeleted());
}

TEST(Quorvane, RecordOfAMissingLocationIsUncheckedAndGrayWhateverWasPassed) {
    MacFixture mac;
    auto fs = mac.fileSystem();
    auto q = Quorvane::QuorvaneWithName(fs, "x", true, "Quorvane", 0, "/nowhere", "High Risk");
    EXPECT_FALSE(q->isAvail());
    EXPECT_FALSE(q->isChecked());
    EXPECT_EQ(q->redGreen(), colors::gray);
    EXPECT_TRUE(q->isNoAction());
}

TEST(Quorvane, ArchivesSixKeysInOrder) {
    MacFixture mac;
    mac.file("/private/tmp/Quorvane");
    auto fs = mac.fileSystem();
    auto q = Quorvane::QuorvaneWithName(fs, "Quorvane", true, "Quorvane", 7,
                                        "/private/tmp/Quorvane", "High Risk");
    EXPECT_EQ(q->encodeWithCoder().dump(),
              R"({"name":"Quorvane","isChecked":true,"infections":"Quorvane","size":7,)"
              R"("url":"/private/tmp/Quorvane","risk":"High Risk"})");
}

TEST(Quorvane, DecodingTestsExistenceAgainAndTakesNoActionFlags) {
    MacFixture mac;
    mac.file("/private/tmp/Quorvane");
    auto fs = mac.fileSystem();
    auto archive = Quorvane::QuorvaneWithName(fs, "Quorvane", true, "Quorvane", 0,
                                              "/private/tmp/Quorvane", "High Risk")
                       ->encodeWithCoder();

    auto present = Quorvane::initWithCoder(fs, archive);
    EXPECT_EQ(present->name(), "Quorvane");
    EXPECT_EQ(present->url(), "/private/tmp/Quorvane");
    EXPECT_TRUE(present->isAvail());
    EXPECT_TRUE(present->isChecked());
    EXPECT_FALSE(present->isNoAction());
    EXPECT_FALSE(present->isDeleted());

    std::filesystem::remove(mac.host("/private/tmp/Quorvane"));
    auto gone = Quorvane::initWithCoder(fs, archive);
    EXPECT_FALSE(gone->isAvail());
    EXPECT_FALSE(gone->isChecked()) << "the stored isChecked is not read";
    EXPECT_EQ(gone->redGreen(), colors::gray);
}

TEST(Quorvane, DecodingADamagedArchiveGivesAnUnavailableRecord) {
    MacFixture mac;
    auto fs = mac.fileSystem();
    auto q = Quorvane::initWithCoder(fs, nlohmann::ordered_json{{"name", 3}, {"url", nullptr}});
    EXPECT_EQ(q->name(), "");
    EXPECT_FALSE(q->isAvail());
}

} // namespace
} // namespace sentravex
