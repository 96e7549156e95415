#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sentravex {

// Deeper than any file a browser writes. Copying, comparing or printing a value recurses once per
// level, so a crafted file nested without bound would exhaust the stack.
inline constexpr std::size_t maxJsonDepth = 512;

// A JSON text parsed; none when it does not parse or nests deeper than `maxJsonDepth`. Members
// are looked up in logarithmic time, so an object of a million members costs no more than its
// size; they come out sorted by name, not in the file's order. Every reader of outside JSON
// goes through here.
std::optional<nlohmann::json> parseBoundedJson(std::string_view text);

// The same, and the names of the members of the object at a dotted key path ("a.b") in the
// file's order. A name given twice keeps its first place (its value is the last one given); when
// the path itself is given twice, the last object there counts, as it does in the parsed value.
std::optional<nlohmann::json> parseBoundedJson(std::string_view text, std::string_view keyPath,
                                               std::vector<std::string>& memberOrder);

} // namespace sentravex
