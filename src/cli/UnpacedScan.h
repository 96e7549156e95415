#pragma once

#include "scan/Quorvane.h"

#include <string>
#include <vector>

namespace sentravex {
class FileSystem;
}

namespace sentravex::cli {

// A catalogue check that counts its pacing instead of waiting for it.
struct UnpacedScan {
    std::vector<QuorvanePtr> threats;
    int steps = 0;
    double seconds = 0;
};

UnpacedScan scanWithoutPacing(const FileSystem& fs, const std::string& user);

} // namespace sentravex::cli
