#include "QuorvaneScripts.h"

#include "PrivilegedPaths.h"
#include "platform/Root.h"

#include <algorithm>
#include <filesystem>

namespace sentravex::scripts {
namespace {

bool literalForShell(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("/._-+,:@%=").find(c) != std::string_view::npos;
}

// Where a protected path lies on this machine. With the system root the path is used as it is.
std::string hostPath(const Root& root, std::string_view logical) {
    if (root.isSystemRoot())
        return std::string(logical);
    Root absolute(std::filesystem::absolute(root.hostPath()).lexically_normal().string());
    // A loop of links leaves the plain path, on which the shell then fails.
    return absolute.resolveParent(logical).value_or(absolute.hostPathOf(logical));
}

} // namespace

std::string shellQuoted(std::string_view word) {
    if (!word.empty() && std::all_of(word.begin(), word.end(), literalForShell))
        return std::string(word);
    std::string out = "'";
    for (char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string appleScriptEscaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

std::string deletionCommand(const Root& root) {
    std::string command = "rm -rf";
    for (auto path : privilegedPaths)
        command += " " + shellQuoted(hostPath(root, path));
    return command;
}

std::string closeQuorvaneApp() {
    return "tell application \"" + appleScriptEscaped(quorvaneApplicationName) +
           "\"\nquit\nend tell";
}

std::string DeleteQuorvaneApp(const Root& root) {
    return "do shell script \"" + appleScriptEscaped(deletionCommand(root)) +
           "\" with administrator privileges";
}

std::string RestatSystem() {
    return "tell application \"System Events\"\nrestart\nend tell";
}

} // namespace sentravex::scripts
