#include "view/TerminalText.h"

#include <gtest/gtest.h>

namespace sentravex {
namespace {

TEST(TerminalText, EscapesWhatWouldForgeALineOrDriveTheTerminal) {
    struct Case {
        std::string_view raw;
        std::string_view shown;
    };
    using namespace std::string_view_literals;
    const Case cases[] = {
        {"/Users/a/Library/Caches/x", "/Users/a/Library/Caches/x"},
        {"", ""},
        {"a\nb", "a\\nb"},
        {"x\ndeleted  /etc/passwd", "x\\ndeleted  /etc/passwd"},
        {"\r\t\x1b[2J", "\\r\\t\\e[2J"},
        {"\a\b\f\v", "\\a\\b\\f\\v"},
        {"a\\nb", "a\\\\nb"}, // a backslash in the name stays told apart from an escape
        {"\x01\x1f\x7f", "\\x01\\x1f\\x7f"},
        {"nul\0here"sv, "nul\\x00here"},
        {"Caf\xc3\xa9 \xe2\x80\x94 \xf0\x9f\x8d\x8e", "Caf\xc3\xa9 \xe2\x80\x94 \xf0\x9f\x8d\x8e"},
        {"\xc2\x9b"
         "2J",
         "\\xc2\\x9b2J"},                             // C1 CSI in UTF-8
        {"\xc2\xa0", "\xc2\xa0"},                     // the first code point past C1
        {"\xff\xfe", "\\xff\\xfe"},                   // bytes never in UTF-8
        {"\xc3", "\\xc3"},                            // cut short at the end
        {"\xc3(", "\\xc3("},                          // cut short before another byte
        {"\xc0\xaf", "\\xc0\\xaf"},                   // overlong "/"
        {"\xe0\x80\xaf", "\\xe0\\x80\\xaf"},          // overlong, three bytes
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},          // a surrogate
        {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"}, // past U+10FFFF
        {"\xf4\x8f\xbf\xbf", "\xf4\x8f\xbf\xbf"},     // U+10FFFF itself
        {"\xe2\x82", "\\xe2\\x82"},                   // three bytes cut short
    };
    for (const auto& c : cases)
        EXPECT_EQ(terminalText(c.raw), c.shown) << c.shown;
}

// Whatever the bytes, the text shows no control character at all: one line, no sequence.
TEST(TerminalText, NoByteValueLeavesAControlCharacter) {
    for (int b = 0; b < 256; ++b) {
        const std::string raw = {'x', static_cast<char>(b), 'y'};
        for (char c : terminalText(raw)) {
            const auto byte = static_cast<unsigned char>(c);
            EXPECT_FALSE(byte < 0x20 || byte == 0x7F) << b;
        }
    }
}

} // namespace
} // namespace sentravex
