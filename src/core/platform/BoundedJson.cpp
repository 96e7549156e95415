#include "BoundedJson.h"

namespace sentravex {

bool readBoundedJson(std::string_view text, BoundedJsonReader& reader) {
    return nlohmann::json::sax_parse(text, &reader);
}

std::optional<nlohmann::json> parseBoundedJson(std::string_view text) {
    // The nesting is checked before anything is built, stopping at the first level too deep.
    BoundedJsonReader depthCheck;
    if (!readBoundedJson(text, depthCheck))
        return std::nullopt;
    auto parsed = nlohmann::json::parse(text, nullptr, false);
    if (parsed.is_discarded())
        return std::nullopt;
    return parsed;
}

} // namespace sentravex
