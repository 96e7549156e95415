#include "cleaner/CategoryIcon.h"

#include "MacFixture.h"
#include "cleaner/Cleaner.h"

#include <gtest/gtest.h>

namespace sentravex {
namespace {

using test::MacFixture;
using Fallback = CategoryIcon::Fallback;

std::string bigEndian(std::size_t n) {
    return {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
}

std::string entry(const std::string& type, const std::string& data) {
    return type + bigEndian(8 + data.size()) + data;
}

const std::string png = "\x89PNG\r\n\x1a\n";

TEST(CategoryIcons, BundleIconElseTheFallbackOfTheCategory) {
    MacFixture mac;
    const std::string safari = "/Applications/Safari.app/Contents";
    const std::string entries = entry("ic10", png + "1024") + entry("icp6", png + "64");
    mac.file(safari + "/Info.plist", "<plist><dict><key>CFBundleIconFile</key>"
                                     "<string>compass</string></dict></plist>")
        .file(safari + "/Resources/compass.icns", "icns" + bigEndian(8 + entries.size()) + entries)
        .folder("/Applications/Mail.app");
    const auto fs = mac.fileSystem();

    struct Expected {
        std::string category;
        std::optional<std::string> image;
        Fallback fallback;
        std::string programImage;
    };
    const Expected expected[] = {
        {"Safari", png + "64", Fallback::ProgramImage, "app_generic"},
        {"Browser Extensions", std::nullopt, Fallback::ProgramImage, "Browser_ext"},
        {"System", std::nullopt, Fallback::FolderIcon, ""},
        {"Mail", std::nullopt, Fallback::ProgramImage, "app_generic"},
    };
    const auto categories = Cleaner(fs, mac.user(), /*sizing*/ false).availbleApp();
    ASSERT_EQ(categories.size(), std::size(expected));
    for (std::size_t i = 0; i < categories.size(); ++i) {
        ASSERT_EQ(categories[i].Name, expected[i].category);
        const auto icon = iconForCategory(fs, categories[i], 40);
        EXPECT_EQ(icon.image, expected[i].image) << expected[i].category;
        EXPECT_EQ(icon.fallback, expected[i].fallback) << expected[i].category;
        EXPECT_EQ(icon.programImage, expected[i].programImage) << expected[i].category;
    }
}

} // namespace
} // namespace sentravex
