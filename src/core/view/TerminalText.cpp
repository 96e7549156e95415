#include "TerminalText.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace sentravex {
namespace {

// The length of the valid UTF-8 sequence starting at `i`, or 0 (no overlong forms, surrogates
// or code points past U+10FFFF).
std::size_t sequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[i + k]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() - i < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (byte(k) < 0x80 || byte(k) > 0xBF)
            return 0;
    return length;
}

void appendHex(std::string& out, std::uint8_t byte) {
    constexpr std::string_view digits = "0123456789abcdef";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 0x0F];
}

// The named escapes; every other control character is written in hex.
constexpr std::array<std::pair<char, char>, 9> named{{{'\\', '\\'},
                                                      {'\n', 'n'},
                                                      {'\r', 'r'},
                                                      {'\t', 't'},
                                                      {'\x1b', 'e'},
                                                      {'\a', 'a'},
                                                      {'\b', 'b'},
                                                      {'\f', 'f'},
                                                      {'\v', 'v'}}};

void appendAscii(std::string& out, char c) {
    for (const auto& [raw, letter] : named)
        if (c == raw) {
            out += '\\';
            out += letter;
            return;
        }
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte < 0x20 || byte == 0x7F)
        appendHex(out, byte);
    else
        out += c;
}

} // namespace

std::string terminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequenceLength(text, i);
        const bool c1 = length == 2 && static_cast<std::uint8_t>(text[i]) == 0xC2 &&
                        static_cast<std::uint8_t>(text[i + 1]) < 0xA0;
        if (length == 1) {
            appendAscii(out, text[i]);
        } else if (length == 0 || c1) {
            // A terminal may read a stray byte or a C1 control as the start of a sequence.
            for (std::size_t k = 0; k < (c1 ? 2 : 1); ++k)
                appendHex(out, static_cast<std::uint8_t>(text[i + k]));
        } else {
            out.append(text.substr(i, length));
        }
        i += length == 0 ? 1 : length;
    }
    return out;
}

} // namespace sentravex
