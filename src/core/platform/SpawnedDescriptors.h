#pragma once

#include <spawn.h>

namespace sentravex {

// Lets a spawned program inherit only standard input, output and error: a descriptor of ours
// left open in it (a folder inside the root, a socket) would live on in a program that may run
// with administrator rights. 0, or the error that kept it from being arranged. One
// implementation per operating system.
int inheritOnlyStandardDescriptors(posix_spawn_file_actions_t& actions,
                                   posix_spawnattr_t& attributes);

} // namespace sentravex
