#include "ProtectedDeletion.h"

#include "PrivilegedPaths.h"

namespace sentravex {

std::vector<PathFailure> removeProtectedPaths(const FileSystem& fs) {
    std::vector<PathFailure> failures;
    for (auto protectedPath : privilegedPaths) {
        const std::string path(protectedPath);
        if (auto result = fs.removeItem(path); !result.ok())
            failures.push_back({path, result.error});
    }
    return failures;
}

} // namespace sentravex
