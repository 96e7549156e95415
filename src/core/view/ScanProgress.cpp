#include "ScanProgress.h"

namespace sentravex {

std::string progressPercentText(int step) {
    return std::to_string(step) + "%";
}

std::string scanningEntryText(const std::string& stepText) {
    return "Scanning Entry:  Malware." + stepText;
}

} // namespace sentravex
