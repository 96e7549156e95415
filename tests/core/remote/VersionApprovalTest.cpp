#include "remote/VersionApproval.h"

#include <gtest/gtest.h>
#include <sstream>

namespace sentravex {
namespace {

std::string item(const std::string& version, const std::string& review) {
    return "<item><version_number>" + version + "</version_number><review_completed>" + review +
           "</review_completed></item>";
}

std::string config(const std::string& items) {
    return "<config>" + items + "</config>";
}

struct Document {
    const char* name;
    std::string body;
    bool approved;
};

void PrintTo(const Document& c, std::ostream* os) {
    *os << c.name;
}

class VersionApprovalOf : public testing::TestWithParam<Document> {};

TEST_P(VersionApprovalOf, DecidesAndLogsThePredicate) {
    std::ostringstream log;
    EXPECT_EQ(versionApproval("2.3", GetParam().body, log), GetParam().approved);
    EXPECT_EQ(log.str(), "version_number == 2.3\n");
}

const std::string kApproving = item("2.3", "true");

INSTANTIATE_TEST_SUITE_P(
    , VersionApprovalOf,
    testing::Values(
        Document{"Approved", config(item("2.2", "false") + kApproving), true},
        Document{"FirstRecordDecidesAgainst", config(item("2.3", "no") + kApproving), false},
        Document{"FirstRecordDecidesFor", config(kApproving + item("2.3", "false")), true},
        Document{"VersionWithBlanksAndLineBreaks",
                 config(item("\n   2.3 \r\n\t", "true") + item("2.3", "false")), true},
        Document{"VersionSplitAroundEntity", config(item("2 &#46; 3", "true")), true},
        Document{"ReviewSplitAroundEntity", config(item("2.3", "tr&#117;e ")), true},
        Document{"CapitalTrue", config(item("2.3", "True")), false},
        Document{"VersionIsStringEqualOnly", config(item("2.30", "true") + item("2.3.0", "true")),
                 false},
        Document{"NoReview", config("<item><version_number>2.3</version_number></item>"), false},
        Document{"PrefixedItem",
                 "<config xmlns:q='urn:q'><q:item><version_number>2.3</version_number>"
                 "<review_completed>true</review_completed></q:item></config>",
                 false},
        Document{"NoItem", "<config><version_number>2.3</version_number></config>", false},
        Document{"NotWellFormed", "<html><body>502 Bad Gateway</html>", false},
        Document{"NotXml", "Service unavailable", false},
        // Would approve if the entity were read; the document must fail instead.
        Document{"ExternalEntity",
                 "<!DOCTYPE config [<!ENTITY e SYSTEM 'file:///etc/hostname'>]>" +
                     config(kApproving + "<x>&e;</x>"),
                 false},
        Document{"BillionLaughs",
                 "<!DOCTYPE config [<!ENTITY a 'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa'>"
                 "<!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'>"
                 "<!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;'>"
                 "<!ENTITY d '&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;'>"
                 "<!ENTITY e '&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;'>"
                 "<!ENTITY f '&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;'>"
                 "<!ENTITY g '&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;'>]>" +
                     config(kApproving + "<x>&g;</x>"),
                 false}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(VersionApproval, NoBodyOrAnEmptyOneLeavesTheFlagAndLogsNothing) {
    std::ostringstream log;
    EXPECT_EQ(versionApproval("2.3", std::nullopt, log), std::nullopt);
    EXPECT_EQ(versionApproval("2.3", std::string(), log), std::nullopt);
    EXPECT_EQ(log.str(), "");
}

} // namespace
} // namespace sentravex
