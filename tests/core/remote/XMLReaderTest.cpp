#include "remote/XMLReader.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace sentravex {
namespace {

using Record = std::map<std::string, std::string>;

// The records as plain text, or none when the reader answered none.
std::optional<std::vector<Record>> read(const std::string& doc, XMLParseError* error = nullptr,
                                        const std::string& rootName = "item") {
    XMLReader reader;
    reader.rootName = rootName;
    const auto* list = reader.parseXMLWithData(doc, error);
    if (!list)
        return std::nullopt;
    std::vector<Record> out;
    for (const auto& record : *list) {
        Record r;
        for (const auto& [key, text] : record)
            r[key] = *text;
        out.push_back(r);
    }
    return out;
}

TEST(XMLReader, RecordsHoldEachChildTrimmedInDocumentOrder) {
    auto records = read("<config>\n"
                        "  <item>\n"
                        "    <version_number>\n  1.2 \t</version_number>\n"
                        "    <review_completed>true</review_completed>\n"
                        "  </item>\n"
                        "  <item><version_number>1.3</version_number></item>\n"
                        "</config>\n");
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 2u);
    EXPECT_EQ((*records)[0].at("version_number"), "1.2");
    EXPECT_EQ((*records)[0].at("review_completed"), "true");
    EXPECT_EQ((*records)[1].at("version_number"), "1.3");
}

TEST(XMLReader, EachReportedPieceIsTrimmedOnItsOwn) {
    // The references split the text; the blanks beside each split go, the inner one of a piece
    // stays.
    auto records = read("<!DOCTYPE c [<!ENTITY dot '.'>]>"
                        "<c><item><v> 1 &#46; 2 &dot; 3 </v><w>a b</w></item></c>");
    ASSERT_TRUE(records);
    EXPECT_EQ((*records)[0].at("v"), "1.2.3");
    EXPECT_EQ((*records)[0].at("w"), "a b");
}

TEST(XMLReader, StoredValueKeepsCollectingUntilTheNextElementStarts) {
    // "tail" follows the end of <a> and lands in the value <a> stored; the end of the item stores
    // its last child's value, and so does the end of the document element.
    auto records = read("<c><x>before</x><item><a>x</a>tail<b>y</b></item></c>");
    ASSERT_TRUE(records);
    EXPECT_EQ(records->front(), (Record{{"a", "xtail"}, {"b", "y"}, {"item", "y"}, {"c", "y"}}));
}

TEST(XMLReader, ItemWithoutChildStartsAnEmptyRecord) {
    auto records = read("<item/>");
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 1u);
    EXPECT_TRUE(records->front().empty());
}

TEST(XMLReader, NamesAreComparedAsWrittenWithTheirPrefix) {
    const std::string doc = "<c xmlns:v='urn:v'><v:item><v:n>1</v:n></v:item></c>";
    EXPECT_FALSE(read(doc)); // no record, no list
    auto prefixed = read(doc, nullptr, "v:item");
    ASSERT_TRUE(prefixed);
    EXPECT_EQ(prefixed->front().at("v:n"), "1");
}

TEST(XMLReader, FailureAnswersNoneWithAnErrorOrTheRecordsReadSoFar) {
    const std::string doc = "<c><item><n>1</n></item><item><n>2</oops></c>";
    XMLParseError error;
    EXPECT_FALSE(read(doc, &error));
    EXPECT_FALSE(error.message.empty());
    EXPECT_EQ(error.line, 1u);

    auto partial = read(doc);
    ASSERT_TRUE(partial);
    ASSERT_EQ(partial->size(), 2u);
    EXPECT_EQ((*partial)[0].at("n"), "1");
}

// Its cost is measured in bench/ (xmlUnendingToken).
TEST(XMLReader, AnUnendingTokenIsAnError) {
    XMLParseError error;
    EXPECT_FALSE(read("<config><" + std::string(8 << 20, 'a'), &error));
    EXPECT_FALSE(error.message.empty());
}

// Each would, if read, add a record; refusing it fails the whole document.
struct Unsafe {
    const char* name;
    std::string doc;
};

void PrintTo(const Unsafe& c, std::ostream* os) {
    *os << c.name;
}

class XMLReaderRefuses : public testing::TestWithParam<Unsafe> {};

TEST_P(XMLReaderRefuses, DocumentDoesNotParse) {
    XMLParseError error;
    EXPECT_FALSE(read(GetParam().doc, &error));
    EXPECT_FALSE(error.message.empty());
}

std::string billionLaughs() {
    std::string doc = "<!DOCTYPE c [<!ENTITY l0 'lol'>";
    for (int i = 1; i <= 9; ++i) {
        doc += "<!ENTITY l" + std::to_string(i) + " '";
        for (int j = 0; j < 10; ++j)
            doc += "&l" + std::to_string(i - 1) + ";";
        doc += "'>";
    }
    return doc + "]><c><item><n>&l9;</n></item></c>";
}

INSTANTIATE_TEST_SUITE_P(
    , XMLReaderRefuses,
    testing::Values(
        Unsafe{"ExternalFileEntity", "<!DOCTYPE c [<!ENTITY e SYSTEM 'file:///etc/hostname'>]>"
                                     "<c><item><n>&e;</n></item></c>"},
        Unsafe{"ExternalEntityOutsideRecords",
               "<!DOCTYPE c [<!ENTITY e SYSTEM 'http://127.0.0.1:9/e'>]><c><item/>&e;</c>"},
        Unsafe{"EntityOnlyInExternalSubset",
               "<!DOCTYPE c SYSTEM 'http://127.0.0.1:9/c.dtd'><c><item/>&e;</c>"},
        Unsafe{"BillionLaughs", billionLaughs()}),
    [](const auto& c) { return std::string(c.param.name); });

} // namespace
} // namespace sentravex
