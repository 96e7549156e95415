#include "SpawnedDescriptors.h"

namespace sentravex {

// glibc closes every descriptor from 3 on in the child, whatever its close-on-exec flag.
int inheritOnlyStandardDescriptors(posix_spawn_file_actions_t& actions, posix_spawnattr_t&) {
    return posix_spawn_file_actions_addclosefrom_np(&actions, 3);
}

} // namespace sentravex
