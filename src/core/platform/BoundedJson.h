#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

namespace sentravex {

// Deeper than any file a browser writes. Copying, comparing or printing a value recurses once per
// level, so a crafted file nested without bound would exhaust the stack.
inline constexpr std::size_t maxJsonDepth = 512;

// A JSON text parsed with the members of each object kept in the file's order; none when it does
// not parse or nests deeper than `maxJsonDepth`. Every reader of outside JSON goes through here.
std::optional<nlohmann::ordered_json> parseBoundedJson(std::string_view text);

} // namespace sentravex
