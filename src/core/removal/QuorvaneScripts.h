#pragma once

#include <string>
#include <string_view>

namespace sentravex {

class Root;

// The source texts of the three scripts the removal runs.
namespace scripts {

// A word for the shell: as it is when it holds only characters the shell takes literally,
// otherwise in single quotes.
std::string shellQuoted(std::string_view word);
// The body of an AppleScript string literal holding `text`.
std::string appleScriptEscaped(std::string_view text);

// "rm -rf" over the seven protected paths, in order, each where it lies under the root: with a
// linked folder on the way resolved inside the root, so that the command never leaves it.
std::string deletionCommand(const Root& root);

std::string closeQuorvaneApp();
std::string DeleteQuorvaneApp(const Root& root);
std::string RestatSystem();

} // namespace scripts
} // namespace sentravex
