#pragma once

#include <string>

namespace sentravex {

// Runs the source text of a short AppleScript synchronously, including any authorisation dialog
// the system shows meanwhile.
class ScriptRunner {
public:
    virtual ~ScriptRunner() = default;
    // Whether the script completed and produced a result; a refused or cancelled authorisation
    // and a failed shell command are failures.
    virtual bool run(const std::string& source) = 0;
};

} // namespace sentravex
