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

// The decoded literal that starts at `at` (just past its opening quote); `at` is left just past
// its closing quote. None when the literal never closes or holds an escape not accepted above.
std::optional<std::string> literalFrom(std::string_view source, std::size_t& at) {
    for (std::size_t i = at; i < source.size(); ++i) {
        if (source[i] == '\\') {
            ++i;
            continue;
        }
        if (source[i] == '"') {
            auto text = unescaped(source.substr(at, i - at));
            at = i + 1;
            return text;
        }
    }
    return std::nullopt;
}

// `do shell script "command" [with prompt "text"] with administrator privileges`, exactly.
std::optional<ScriptShape> administratorShell(std::string_view source) {
    constexpr std::string_view start = "do shell script \"";
    constexpr std::string_view withPrompt = " with prompt \"";
    constexpr std::string_view privileges = " with administrator privileges";
    if (!source.starts_with(start))
        return std::nullopt;
    std::size_t at = start.size();
    auto command = literalFrom(source, at);
    if (!command || command->empty())
        return std::nullopt;
    ScriptShape shape{ScriptShape::AdministratorShell, *command, {}};
    if (source.substr(at).starts_with(withPrompt)) {
        at += withPrompt.size();
        auto prompt = literalFrom(source, at);
        if (!prompt || prompt->empty())
            return std::nullopt;
        shape.prompt = *prompt;
    }
    if (source.substr(at) != privileges)
        return std::nullopt;
    return shape;
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
    return administratorShell(source);
}

} // namespace sentravex
