#include "BoundedJson.h"

namespace sentravex {
namespace {

// Checks the nesting before anything is built; stops at the first level too deep.
class DepthCheck : public nlohmann::json_sax<nlohmann::ordered_json> {
public:
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return ++depth_ <= maxJsonDepth; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return --depth_, true; }
    bool start_array(std::size_t) override { return ++depth_ <= maxJsonDepth; }
    bool end_array() override { return --depth_, true; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    std::size_t depth_ = 0;
};

} // namespace

std::optional<nlohmann::ordered_json> parseBoundedJson(std::string_view text) {
    DepthCheck check;
    if (!nlohmann::ordered_json::sax_parse(text, &check))
        return std::nullopt;
    auto parsed = nlohmann::ordered_json::parse(text, nullptr, false);
    if (parsed.is_discarded())
        return std::nullopt;
    return parsed;
}

} // namespace sentravex
