#pragma once

#include "DemoFile.h"

namespace sentravex {

// What the browsers, Mail, Flash and the system leave in a home folder, so that every cleaner
// category has something to show.
std::span<const DemoFile> cleanerDemoFiles();

} // namespace sentravex
