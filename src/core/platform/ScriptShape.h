#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sentravex {

// The only scripts the program composes, recognised from their source text where no AppleScript
// interpreter exists.
struct ScriptShape {
    enum Kind { QuitApplication, AdministratorShell, Restart };
    Kind kind;
    std::string argument; // the application's name, or the shell command; empty for Restart
    std::string prompt{}; // what the administrator prompt says; empty when the script gives none

    friend bool operator==(const ScriptShape&, const ScriptShape&) = default;
};

// The body of an AppleScript string literal holding `text`.
std::string appleScriptEscaped(std::string_view text);

// The shape of a source text, with its string literal decoded; nullopt for anything else, so
// that nothing but these three is ever run.
std::optional<ScriptShape> parseScript(const std::string& source);

} // namespace sentravex
