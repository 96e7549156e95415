#include "platform/BundleIcon.h"

#include "MacFixture.h"
#include "platform/IcnsFile.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace sentravex {
namespace {

using test::MacFixture;

const std::string app = "/Applications/Example.app";

std::string plistNaming(const std::string& icon) {
    return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIconFile</key>"
           "<string>" +
           icon + "</string></dict></plist>";
}

void fifo(const MacFixture& mac, const std::string& logical) {
    std::filesystem::create_directories(std::filesystem::path(mac.host(logical)).parent_path());
    ASSERT_EQ(::mkfifo(mac.host(logical).c_str(), 0644), 0);
}

// A file of `bytes` bytes, written without holding it in memory.
void sparseFile(const MacFixture& mac, const std::string& logical, std::size_t bytes) {
    std::filesystem::create_directories(std::filesystem::path(mac.host(logical)).parent_path());
    std::ofstream(mac.host(logical)) << "icns";
    std::filesystem::resize_file(mac.host(logical), bytes);
}

struct BundleCase {
    const char* name;
    std::function<void(MacFixture&)> write;
    std::optional<std::string> path; // of the icon answered, inside the bundle
};

void PrintTo(const BundleCase& c, std::ostream* os) {
    *os << c.name;
}

class BundleIcons : public testing::TestWithParam<BundleCase> {};

TEST_P(BundleIcons, ReadsTheNamedIconThroughConfinedReadsOnly) {
    MacFixture mac;
    GetParam().write(mac);
    auto icon = bundleIcon(mac.fileSystem(), app);
    ASSERT_EQ(icon.has_value(), GetParam().path.has_value());
    if (icon) {
        EXPECT_EQ(icon->path, app + *GetParam().path);
        EXPECT_EQ(icon->bytes, "icon bytes");
    }
}

INSTANTIATE_TEST_SUITE_P(
    , BundleIcons,
    testing::Values(
        BundleCase{"NameWithoutExtension",
                   [](MacFixture& mac) {
                       mac.file(app + "/Contents/Info.plist", plistNaming("compass"))
                           .file(app + "/Contents/Resources/compass.icns", "icon bytes");
                   },
                   "/Contents/Resources/compass.icns"},
        BundleCase{"NameWithItsExtension",
                   [](MacFixture& mac) {
                       mac.file(app + "/Contents/Info.plist", plistNaming("Mail.png"))
                           .file(app + "/Contents/Resources/Mail.png", "icon bytes");
                   },
                   "/Contents/Resources/Mail.png"},
        BundleCase{
            "NamedFileMissing",
            [](MacFixture& mac) { mac.file(app + "/Contents/Info.plist", plistNaming("gone")); },
            std::nullopt},
        BundleCase{"NoIconNamed",
                   [](MacFixture& mac) {
                       mac.file(app + "/Contents/Info.plist", "<plist><dict/></plist>")
                           .file(app + "/Contents/Resources/AppIcon.icns", "icon bytes");
                   },
                   std::nullopt},
        BundleCase{"NameLeavingTheResources",
                   [](MacFixture& mac) {
                       mac.file(app + "/Contents/Info.plist", plistNaming("../Info.plist"));
                   },
                   std::nullopt},
        BundleCase{
            "NameOfTheParent",
            [](MacFixture& mac) { mac.file(app + "/Contents/Info.plist", plistNaming("..")); },
            std::nullopt},
        BundleCase{"InfoPlistIsAFifo",
                   [](MacFixture& mac) {
                       fifo(mac, app + "/Contents/Info.plist");
                       mac.file(app + "/Contents/Resources/AppIcon.icns", "icon bytes");
                   },
                   std::nullopt},
        BundleCase{"IconIsAFifo",
                   [](MacFixture& mac) {
                       mac.file(app + "/Contents/Info.plist", plistNaming("AppIcon"));
                       fifo(mac, app + "/Contents/Resources/AppIcon.icns");
                   },
                   std::nullopt},
        BundleCase{"IconIsAFolder",
                   [](MacFixture& mac) {
                       mac.file(app + "/Contents/Info.plist", plistNaming("AppIcon"))
                           .folder(app + "/Contents/Resources/AppIcon.icns");
                   },
                   std::nullopt},
        BundleCase{"InfoPlistLargerThanAnyReal",
                   [](MacFixture& mac) {
                       std::string plist = plistNaming("AppIcon");
                       plist.insert(plist.find("<plist"), largestInfoPlist, ' ');
                       mac.file(app + "/Contents/Info.plist", plist)
                           .file(app + "/Contents/Resources/AppIcon.icns", "icon bytes");
                   },
                   std::nullopt},
        BundleCase{"IconLargerThanAnyReal",
                   [](MacFixture& mac) {
                       mac.file(app + "/Contents/Info.plist", plistNaming("AppIcon"));
                       sparseFile(mac, app + "/Contents/Resources/AppIcon.icns",
                                  largestIconFile + 1);
                   },
                   std::nullopt}),
    [](const auto& c) { return std::string(c.param.name); });

std::string bigEndian(std::size_t n) {
    return {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
}

std::string entry(const std::string& type, const std::string& data) {
    return type + bigEndian(8 + data.size()) + data;
}

std::string icns(const std::string& entries) {
    return "icns" + bigEndian(8 + entries.size()) + entries;
}

const std::string png = "\x89PNG\r\n\x1a\n";

TEST(IcnsEntries, TakesTheSmallestLargeEnoughElseTheLargest) {
    const std::string file =
        icns(entry("ic10", png + "1024") + entry("icp4", png + "16") + entry("ic07", png + "128") +
             entry("TOC ", "index") + entry("icp6", png + "64") + entry("ic08", png + "256"));
    const std::pair<int, std::string> cases[] = {
        {1, png + "16"},   {16, png + "16"},   {17, png + "64"},    {40, png + "64"},
        {80, png + "128"}, {200, png + "256"}, {512, png + "1024"}, {4096, png + "1024"},
    };
    for (const auto& [side, expected] : cases)
        EXPECT_EQ(iconImageForSide(file, side), expected) << side;
}

TEST(IcnsEntries, LegacyEntriesComeAloneWithTheirMask) {
    const std::string rgb = entry("il32", "packed"), mask = entry("l8mk", "alpha");
    const std::string file = icns(entry("s8mk", "other") + mask + rgb + entry("ic10", png));
    EXPECT_EQ(iconImageForSide(file, 32), icns(rgb + mask));
    // A modern entry that holds no PNG comes as an .icns of its own.
    const std::string jpeg2000 = entry("ic08", std::string("\0\0\0\x0CjP  rest", 12));
    EXPECT_EQ(iconImageForSide(icns(jpeg2000), 256), icns(jpeg2000));
}

TEST(IcnsEntries, OtherFilesUnchangedAndDamageAnswersNothingOrAnEntryInside) {
    EXPECT_EQ(iconImageForSide(png + "plain", 40), png + "plain");
    EXPECT_FALSE(iconImageForSide("icns", 40));
    EXPECT_FALSE(iconImageForSide(icns(entry("TOC ", "")), 40));
    const std::string file = icns(entry("icp4", png + "16") + entry("ic07", png + "128"));
    for (std::size_t n = 0; n <= file.size(); ++n)
        for (char damage : {'\0', '\xff'}) {
            std::string damaged = file.substr(0, n);
            if (n > 8)
                damaged[n / 2] = damage;
            auto part = iconImageForSide(damaged, 40);
            if (part && damaged.starts_with("icns")) {
                EXPECT_LE(part->size(), damaged.size()) << n;
            }
        }
}

// The attack: a megabyte of full-size entries. Only one of them comes out.
TEST(IcnsEntries, AMegabyteOfLargeEntriesGivesOne) {
    std::string entries;
    for (int i = 0; i < 160; ++i)
        entries += entry("ic10", png + std::string(6500, char(i)));
    entries += entry("icp6", png + "64");
    auto part = iconImageForSide(icns(entries), 40);
    ASSERT_TRUE(part);
    EXPECT_EQ(*part, png + "64");
}

} // namespace
} // namespace sentravex
