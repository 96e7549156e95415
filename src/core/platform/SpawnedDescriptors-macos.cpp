#include "SpawnedDescriptors.h"

#include <unistd.h>

namespace sentravex {

// Every descriptor is closed in the child but those the file actions open or name.
int inheritOnlyStandardDescriptors(posix_spawn_file_actions_t& actions,
                                   posix_spawnattr_t& attributes) {
    if (int error = posix_spawnattr_setflags(&attributes, POSIX_SPAWN_CLOEXEC_DEFAULT))
        return error;
    if (int error = posix_spawn_file_actions_addinherit_np(&actions, STDIN_FILENO))
        return error;
    return posix_spawn_file_actions_addinherit_np(&actions, STDERR_FILENO);
}

} // namespace sentravex
