#include "OpenFileLimit.h"

#include <algorithm>
#include <climits>
#include <sys/resource.h>

namespace sentravex {

bool raiseOpenFileLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return false;
    rlim_t wanted = limit.rlim_max;
#ifdef OPEN_MAX
    // Where the system defines it, no process may have more, whatever the hard limit says.
    wanted = std::min(wanted, static_cast<rlim_t>(OPEN_MAX));
#endif
    if (limit.rlim_cur >= wanted)
        return true;
    limit.rlim_cur = wanted;
    return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

} // namespace sentravex
