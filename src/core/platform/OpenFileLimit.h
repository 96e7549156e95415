#pragma once

namespace sentravex {

// Raises this process's limit of open files to the most it may have. A deep walk keeps many
// folders open, and the default limit is low on some systems; a walk that still runs out says
// so. False when the limit could not be raised.
bool raiseOpenFileLimit();

} // namespace sentravex
