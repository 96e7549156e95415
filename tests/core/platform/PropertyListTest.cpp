#include "platform/PropertyList.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace sentravex {
namespace {

// The same bundle property list, written by a property-list library in both forms.
std::string fixture(const char* name) {
    std::ifstream in(std::string(SENTRAVEX_FIXTURES) + "/plist/" + name, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

struct Lookup {
    const char* key;
    std::optional<std::string> expected;
};

const Lookup bundleLookups[] = {
    {"CFBundleIconFile", "AppIcon"},
    {"CFBundleIdentifier", "com.example.Example"},
    {"CFBundleDisplayName", "Caf\u00e9 \u2615 \U0001F680"}, // UTF-16 in the binary form
    {"CFBundleVersion", std::nullopt},                      // a number
    {"LSRequiresNativeExecution", std::nullopt},            // a boolean
    {"CFBundleDocumentTypes", std::nullopt},                // an array
    {"CFBundleTypeIconFile", std::nullopt},                 // only inside the array
    {"OnlyInside", std::nullopt},                           // only in a nested dictionary
    {"CFBundleIcon", std::nullopt},                         // a prefix of a key
    {"", std::nullopt},
};

class PropertyListForms : public testing::TestWithParam<const char*> {};

TEST_P(PropertyListForms, AnswersTopLevelStringsOnly) {
    const std::string document = fixture(GetParam());
    ASSERT_FALSE(document.empty());
    for (const auto& [key, expected] : bundleLookups)
        EXPECT_EQ(propertyListString(document, key), expected) << key;
}

TEST_P(PropertyListForms, EveryTruncationAndDamagedByteIsSafe) {
    const std::string document = fixture(GetParam());
    for (std::size_t n = 0; n < document.size(); ++n)
        (void)propertyListString(document.substr(0, n), "CFBundleIconFile");
    for (std::size_t at = 0; at < document.size(); ++at)
        for (char damage : {'\0', '\x7f', '\xff'}) {
            std::string damaged = document;
            damaged[at] = damage;
            auto found = propertyListString(damaged, "CFBundleIconFile");
            // Damage may hide the value or spoil its bytes, never make up a longer one.
            if (found) {
                EXPECT_LE(found->size(), std::string("AppIcon").size()) << at;
            }
        }
}

INSTANTIATE_TEST_SUITE_P(, PropertyListForms, testing::Values("Info.xml.plist", "Info.bplist"),
                         [](const auto& form) {
                             return std::string(form.param).find("bplist") != std::string::npos
                                        ? std::string("Binary")
                                        : std::string("Xml");
                         });

struct XmlCase {
    const char* name;
    std::string document;
    std::optional<std::string> expected; // for "CFBundleIconFile"
};

void PrintTo(const XmlCase& c, std::ostream* os) {
    *os << c.name;
}

std::string inPlist(const std::string& members) {
    return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>" + members + "</dict></plist>";
}

class XmlPropertyList : public testing::TestWithParam<XmlCase> {};

TEST_P(XmlPropertyList, ReadsTheTopLevelDictionary) {
    EXPECT_EQ(propertyListString(GetParam().document, "CFBundleIconFile"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    , XmlPropertyList,
    testing::Values(
        XmlCase{"EntitiesAndBlanksBetweenElements",
                inPlist("\n\t<key>CFBundleIconFile</key>\n\t<string>A &amp; B&#x21;</string>"),
                "A & B!"},
        XmlCase{"EmptyString", inPlist("<key>CFBundleIconFile</key><string/>"), ""},
        XmlCase{"KeyTextIsExact", inPlist("<key> CFBundleIconFile</key><string>x</string>"),
                std::nullopt},
        XmlCase{"AStringSpellingTheKeyIsNoKey",
                inPlist("<key>Other</key><string>CFBundleIconFile</string><string>x</string>"),
                std::nullopt},
        XmlCase{"KeyFollowedByAKey",
                inPlist("<key>CFBundleIconFile</key><key>Other</key><string>x</string>"),
                std::nullopt},
        XmlCase{"FirstOfTwo",
                inPlist("<key>CFBundleIconFile</key><string>a</string>"
                        "<key>CFBundleIconFile</key><string>b</string>"),
                "a"},
        XmlCase{"RootIsNotAPlist", "<dict><key>CFBundleIconFile</key><string>x</string></dict>",
                std::nullopt},
        XmlCase{"TopIsAnArray",
                "<plist><array><dict><key>CFBundleIconFile</key><string>x</string></dict>"
                "</array></plist>",
                std::nullopt},
        XmlCase{"MalformedBeforeTheKey", "<plist><dict><key>CFBundle", std::nullopt},
        XmlCase{"ExternalEntity",
                "<!DOCTYPE plist [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><plist><dict>"
                "<key>CFBundleIconFile</key><string>&e;</string></dict></plist>",
                std::nullopt},
        XmlCase{"EntitiesThatExpandWithoutBound",
                [] {
                    std::string d = "<!DOCTYPE plist [<!ENTITY a0 \"xxxxxxxxxx\">";
                    for (int i = 1; i < 10; ++i)
                        d +=
                            "<!ENTITY a" + std::to_string(i) + " \"" + std::string(10, '&') + "\">";
                    for (int i = 1; i < 10; ++i) {
                        std::string refs;
                        for (int j = 0; j < 10; ++j)
                            refs += "&a" + std::to_string(i - 1) + ";";
                        d.replace(d.find(std::string(10, '&')), 10, refs);
                    }
                    return d + "]><plist><dict><key>CFBundleIconFile</key><string>&a9;</string>"
                               "</dict></plist>";
                }(),
                std::nullopt}),
    [](const auto& c) { return std::string(c.param.name); });

// A binary list written object by object: each object's bytes, the top object's index, and the
// width of references and offsets.
std::string binaryList(const std::vector<std::string>& objects, std::uint64_t top,
                       unsigned refSize = 1, unsigned offsetSize = 4) {
    auto bigEndian = [](std::uint64_t n, unsigned width) {
        std::string out(width, '\0');
        for (unsigned i = 0; i < width; ++i)
            out[width - 1 - i] = static_cast<char>(n >> (8 * i));
        return out;
    };
    std::string doc = "bplist00";
    std::string table;
    for (const auto& o : objects) {
        table += bigEndian(doc.size(), offsetSize);
        doc += o;
    }
    const auto tableAt = doc.size();
    doc += table;
    doc += std::string(6, '\0') + static_cast<char>(offsetSize) + static_cast<char>(refSize);
    return doc + bigEndian(objects.size(), 8) + bigEndian(top, 8) + bigEndian(tableAt, 8);
}

std::string ascii(const std::string& s) {
    if (s.size() < 15)
        return static_cast<char>(0x50 | s.size()) + s;
    std::string count(4, '\0');
    for (int i = 0; i < 4; ++i)
        count[3 - i] = static_cast<char>(s.size() >> (8 * i));
    return "\x5F\x12" + count + s;
}

TEST(BinaryPropertyList, DamagedTrailersAndReferencesAnswerNothing) {
    const std::vector<std::string> objects = {"\xD1\x01\x02", ascii("CFBundleIconFile"),
                                              ascii("x")};
    const std::string good = binaryList(objects, 0);
    ASSERT_EQ(propertyListString(good, "CFBundleIconFile"), "x");

    struct Damage {
        const char* what;
        std::string document;
    };
    const Damage cases[] = {
        {"top object out of range", binaryList(objects, 3)},
        {"reference width of three", binaryList(objects, 0, 3)},
        {"offset width of zero", binaryList(objects, 0, 1, 0)},
        {"value reference out of range", binaryList({"\xD1\x01\x07", objects[1], objects[2]}, 0)},
        {"reference to itself", binaryList({"\xD1\x01\x00", objects[1], objects[2]}, 0)},
        {"top is a string", binaryList(objects, 1)},
        {"dictionary counts more members than bytes",
         binaryList({"\xDF\x13\x7F\xFF\xFF\xFF\xFF\xFF\xFF\xFF", objects[1]}, 0)},
        {"string counts more bytes than there are",
         binaryList({"\xD1\x01\x02", objects[1], "\x5F\x13\x7F\xFF\xFF\xFF\xFF\xFF\xFF\xFFx"}, 0)},
        {"count of sixteen bytes", binaryList({"\xD1\x01\x02", objects[1], "\x5F\x14\x01"}, 0)},
        {"lone surrogate",
         binaryList({"\xD1\x01\x02", objects[1], std::string("\x61\xD8\x00", 3)}, 0)},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(propertyListString(c.document, "CFBundleIconFile")) << c.what;
}

// A dictionary of a hundred thousand keys that all refer to one long string: each is refused by
// its length, not compared byte by byte.
TEST(BinaryPropertyList, ManyReferencesToOneLongStringAreCheap) {
    const std::size_t keys = 100'000;
    std::string dict = "\xDF\x12";
    for (int i = 3; i >= 0; --i)
        dict += static_cast<char>(keys >> (8 * i));
    dict += std::string(keys, '\x01') + std::string(keys, '\x02');
    const std::string document =
        binaryList({dict, ascii(std::string(400'000, 'C')), ascii("value")}, 0);
    EXPECT_FALSE(propertyListString(document, std::string(399'999, 'C') + "D"));
    EXPECT_EQ(propertyListString(document, std::string(400'000, 'C')), "value");
}

} // namespace
} // namespace sentravex
