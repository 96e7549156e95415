#include "Spawn.h"
#include "SystemScriptRunner.h"

namespace sentravex {

bool SystemScriptRunner::run(const std::string& source) {
    return spawnAndWait({"/usr/bin/osascript", "-e", source});
}

} // namespace sentravex
