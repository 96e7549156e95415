#include "ScriptShape.h"

#include <string_view>

namespace sentravex {
namespace {

// Decodes the body of an AppleScript string literal: a double quote or backslash must be
// escaped, and no other escape is accepted.
std::optional<std::string> unescaped(std::string_view body) {
    std::string out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        char c = body[i];
        if (c == '"')
            return std::nullopt;
        if (c == '\\') {
            if (++i == body.size() || (body[i] != '"' && body[i] != '\\'))
                return std::nullopt;
            c = body[i];
        }
        out += c;
    }
    return out;
}

// The decoded literal between `prefix` and `suffix`, when the source is exactly that.
std::optional<std::string> literalBetween(std::string_view source, std::string_view prefix,
                                          std::string_view suffix) {
    if (source.size() < prefix.size() + suffix.size() || !source.starts_with(prefix) ||
        !source.ends_with(suffix))
        return std::nullopt;
    return unescaped(source.substr(prefix.size(), source.size() - prefix.size() - suffix.size()));
}

} // namespace

std::string appleScriptEscaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

std::optional<ScriptShape> parseScript(const std::string& source) {
    if (source == "tell application \"System Events\"\nrestart\nend tell")
        return ScriptShape{ScriptShape::Restart, {}};
    if (auto name = literalBetween(source, "tell application \"", "\"\nquit\nend tell");
        name && !name->empty())
        return ScriptShape{ScriptShape::QuitApplication, *name};
    if (auto command =
            literalBetween(source, "do shell script \"", "\" with administrator privileges");
        command && !command->empty())
        return ScriptShape{ScriptShape::AdministratorShell, *command};
    return std::nullopt;
}

} // namespace sentravex
