#pragma once

#include "ScriptRunner.h"

namespace sentravex {

// Runs scripts on this machine; one implementation per operating system. On macOS every source
// goes to /usr/bin/osascript. Elsewhere it carries out the three script shapes the program
// composes and refuses every other source:
// - quit an application: a termination request to this account's processes of exactly that name;
// - a shell command with administrator privileges: /bin/sh when already root, else through
//   pkexec, whose refusal or cancel is a failure;
// - restart: the system's reboot request.
class SystemScriptRunner : public ScriptRunner {
public:
    bool run(const std::string& source) override;
};

} // namespace sentravex
