#pragma once

#include <optional>
#include <string>

namespace sentravex {

// The absolute host path the system gives for what an open descriptor names, every link and
// ".." already resolved by the kernel; none when it has no such path. One implementation per
// operating system.
std::optional<std::string> pathOfDescriptor(int fd);

} // namespace sentravex
