#include "ProgressSink.h"

#include <atomic>

namespace sentravex {
namespace {
std::atomic<int> scanStepCounter{0};
}

int takeScanStep() {
    return scanStepCounter.fetch_add(1);
}
void resetScanStepCounter() {
    scanStepCounter = 0;
}

} // namespace sentravex
