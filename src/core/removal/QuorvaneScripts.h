#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sentravex {

class Root;

// The source texts of the three scripts the removal runs.
namespace scripts {

// What the administrator prompt says the rights are for.
inline constexpr std::string_view administratorPrompt =
    "Sentravex needs to remove Quorvane's protected files.";

// A word for the shell: as it is when it holds only characters the shell takes literally,
// otherwise in single quotes.
std::string shellQuoted(std::string_view word);

// "rm -rf" over the seven protected paths of this machine's own disk, in order.
std::string deletionCommand();
// The command-line program `helper` deleting the seven protected paths under another root with
// its own confined deletion: "rm -rf" would follow a link swapped in after any check of ours.
// The root is named by the path the system resolved for its open folder, with that folder's
// device and inode; none when the root is not open.
std::optional<std::string> deletionCommandUnder(const std::string& helper, const Root& root);

std::string closeQuorvaneApp();
std::string DeleteQuorvaneApp();
// The same authorisation, for the protected paths under another root.
std::optional<std::string> DeleteQuorvaneAppUnder(const std::string& helper, const Root& root);
std::string RestatSystem();

} // namespace scripts
} // namespace sentravex
