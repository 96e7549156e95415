#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace sentravex {

class FileSystem;

using Json = nlohmann::json;

// Far above any browser store; keeps a crafted file from filling memory.
constexpr std::size_t largestStore = 64u << 20;

// The top-level object of a JSON text; none when it does not parse, nests deeper than any browser
// writes, or is not an object.
std::optional<Json> parseJsonObject(const std::string& text);
// The top-level object of a JSON file; none when it cannot be read, does not parse or is not an
// object.
std::optional<Json> readJsonObject(const FileSystem& fs, const std::string& path);

// The value at a dotted key path through nested objects ("profile.info_cache"); null when a step
// is missing or not an object.
const Json* valueAtKeyPath(const Json& object, std::string_view keyPath);
// The same, when the value is a string.
std::optional<std::string> stringAtKeyPath(const Json& object, std::string_view keyPath);

} // namespace sentravex
