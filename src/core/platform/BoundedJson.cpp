#include "BoundedJson.h"

#include <unordered_set>

namespace sentravex {
namespace {

// A first pass over the text that checks the nesting before anything is built, stopping at the
// first level too deep, and notes the member names of the object at a key path.
class Scout : public nlohmann::json_sax<nlohmann::json> {
public:
    Scout(std::string_view keyPath, std::vector<std::string>* order) : order_(order) {
        for (std::size_t at = 0; order_ && at <= keyPath.size();) {
            auto dot = std::min(keyPath.find('.', at), keyPath.size());
            path_.push_back(keyPath.substr(at, dot - at));
            at = dot + 1;
        }
    }

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return enter(true); }
    bool start_array(std::size_t) override { return enter(false); }
    bool end_object() override { return levels_.pop_back(), true; }
    bool end_array() override { return levels_.pop_back(), true; }
    bool key(string_t& name) override {
        if (!order_)
            return true;
        Level& level = levels_.back();
        if (level.isTarget && seen_.insert(name).second)
            order_->push_back(name);
        const std::size_t depth = levels_.size() - 1;
        level.keyOnPath = level.onPath && depth < path_.size() && name == path_[depth];
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    struct Level {
        bool onPath;      // an object reached through the path's leading names
        bool isTarget;    // the object at the whole path
        bool keyOnPath{}; // the member being read continues the path
    };

    bool enter(bool isObject) {
        if (levels_.size() >= maxJsonDepth)
            return false;
        const bool onPath = order_ && isObject && (levels_.empty() || levels_.back().keyOnPath);
        const bool isTarget = onPath && levels_.size() == path_.size();
        if (isTarget) {
            order_->clear();
            seen_.clear();
        }
        levels_.push_back({onPath, isTarget});
        return true;
    }

    std::vector<std::string>* order_;
    std::vector<std::string_view> path_;
    std::vector<Level> levels_;
    std::unordered_set<std::string> seen_;
};

std::optional<nlohmann::json> parse(std::string_view text, Scout& scout) {
    if (!nlohmann::json::sax_parse(text, &scout))
        return std::nullopt;
    auto parsed = nlohmann::json::parse(text, nullptr, false);
    if (parsed.is_discarded())
        return std::nullopt;
    return parsed;
}

} // namespace

std::optional<nlohmann::json> parseBoundedJson(std::string_view text) {
    Scout scout({}, nullptr);
    return parse(text, scout);
}

std::optional<nlohmann::json> parseBoundedJson(std::string_view text, std::string_view keyPath,
                                               std::vector<std::string>& memberOrder) {
    memberOrder.clear();
    Scout scout(keyPath, &memberOrder);
    auto parsed = parse(text, scout);
    if (!parsed)
        memberOrder.clear();
    return parsed;
}

} // namespace sentravex
