#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace sentravex {

// Deeper than any file a browser writes. Copying, comparing or printing a value recurses once per
// level, so a crafted file nested without bound would exhaust the stack.
inline constexpr std::size_t maxJsonDepth = 512;

// A JSON text parsed; none when it does not parse or nests deeper than `maxJsonDepth`. Members
// are looked up in logarithmic time, so an object of a million members costs no more than its
// size; they come out sorted by name, not in the file's order. Every reader of outside JSON
// goes through here or through `readBoundedJson`.
std::optional<nlohmann::json> parseBoundedJson(std::string_view text);

// Hears a JSON text value by value, stopping at the first level deeper than `maxJsonDepth`. Every
// event is passed over; a reader that keeps a small part of a large file overrides the events it
// needs, calling these for the levels.
class BoundedJsonReader : public nlohmann::json_sax<nlohmann::json> {
public:
    bool null() override { return true; }
    bool boolean(bool /*value*/) override { return true; }
    bool number_integer(number_integer_t /*value*/) override { return true; }
    bool number_unsigned(number_unsigned_t /*value*/) override { return true; }
    bool number_float(number_float_t /*value*/, const string_t& /*text*/) override { return true; }
    bool string(string_t& /*value*/) override { return true; }
    bool binary(binary_t& /*value*/) override { return true; }
    bool key(string_t& /*name*/) override { return true; }
    bool start_object(std::size_t /*size*/) override { return enter(); }
    bool start_array(std::size_t /*size*/) override { return enter(); }
    bool end_object() override { return leave(); }
    bool end_array() override { return leave(); }
    bool parse_error(std::size_t /*at*/, const std::string& /*token*/,
                     const nlohmann::detail::exception& /*error*/) override {
        return false;
    }

protected:
    // The objects and arrays open around the current event.
    std::size_t depth() const { return depth_; }

private:
    bool enter() {
        if (depth_ >= maxJsonDepth)
            return false;
        ++depth_;
        return true;
    }
    bool leave() {
        --depth_;
        return true;
    }

    std::size_t depth_ = 0;
};

// Runs `reader` over the text without building it; false when the text does not parse, nests too
// deep or the reader stops.
bool readBoundedJson(std::string_view text, BoundedJsonReader& reader);

} // namespace sentravex
