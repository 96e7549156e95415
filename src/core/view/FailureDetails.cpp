#include "FailureDetails.h"

#include <cstdio>

namespace sentravex {
namespace {

std::string escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (byte < 0x20 || byte == 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string failureDetailsText(const std::vector<FailedPath>& failures) {
    std::string text;
    std::size_t shown = 0;
    for (const auto& failure : failures) {
        if (shown == maxFailureLines)
            break;
        if (shown++ > 0)
            text += '\n';
        text += escaped(failure.path) + "  (" + escaped(failure.reason) + ")";
    }
    if (failures.size() > shown)
        text += "\n… and " + std::to_string(failures.size() - shown) + " more";
    return text;
}

} // namespace sentravex
