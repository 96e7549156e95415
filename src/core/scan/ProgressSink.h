#pragma once

#include <string>

namespace sentravex {

// Receives the catalogue check's progress. The window's sink shows each step and blocks the scan
// thread for its seconds; the command line's and the tests' only count.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void scanStarted() {}
    virtual void step(int number, double seconds, const std::string& text) = 0;
    virtual void scanDone() {}
};

// The process-wide scan step counter: each step takes its value, then increments it. Only a
// rescan or a reset sets it back.
int takeScanStep();
void resetScanStepCounter();

} // namespace sentravex
