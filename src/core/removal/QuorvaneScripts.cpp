#include "QuorvaneScripts.h"

#include "PrivilegedPaths.h"
#include "platform/Root.h"
#include "platform/ScriptShape.h"

#include <algorithm>

namespace sentravex::scripts {
namespace {

bool literalForShell(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("/._-+,:@%=").find(c) != std::string_view::npos;
}

// The prompt says why; without one the system names only osascript as the asker.
std::string administratorShell(const std::string& command) {
    return "do shell script \"" + appleScriptEscaped(command) + "\" with prompt \"" +
           appleScriptEscaped(administratorPrompt) + "\" with administrator privileges";
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

std::string deletionCommand() {
    std::string command = "rm -rf";
    for (auto path : privilegedPaths)
        command += " " + std::string(path);
    return command;
}

std::optional<std::string> deletionCommandUnder(const std::string& helper, const Root& root) {
    // The helper looks the root up again, later and from elsewhere: it gets the path the kernel
    // resolved for the folder that was opened, and refuses any other folder found there.
    const auto path = root.openedPath();
    const auto identity = root.identity();
    if (!path || !identity)
        return std::nullopt;
    return shellQuoted(helper) + " " + std::string(protectedDeletionCommand) + " --root " +
           shellQuoted(*path) + " --root-device " + std::to_string(identity->device) +
           " --root-inode " + std::to_string(identity->inode);
}

std::string closeQuorvaneApp() {
    return "tell application \"" + appleScriptEscaped(quorvaneApplicationName) +
           "\"\nquit\nend tell";
}

std::string DeleteQuorvaneApp() {
    return administratorShell(deletionCommand());
}

std::optional<std::string> DeleteQuorvaneAppUnder(const std::string& helper, const Root& root) {
    auto command = deletionCommandUnder(helper, root);
    if (!command)
        return std::nullopt;
    return administratorShell(*command);
}

std::string RestatSystem() {
    return "tell application \"System Events\"\nrestart\nend tell";
}

} // namespace sentravex::scripts
