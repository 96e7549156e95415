#pragma once

#include "scan/ProgressSink.h"

#include <condition_variable>
#include <mutex>

namespace sentravex {

class ViewController;

// The window's progress sink: each step's display is queued to the main thread, then the scan
// thread is blocked for the step's seconds times `pacing` (0 in tests: no waiting at all).
class PacedSink : public ProgressSink {
public:
    PacedSink(ViewController& controller, double pacing) : vc_(controller), pacing_(pacing) {}

    void scanStarted() override;
    void step(int number, double seconds, const std::string& text) override;
    void scanDone() override;

    // Ends every wait at once, for a window that closes during a scan.
    void cancel();

private:
    void waitFor(double seconds);

    ViewController& vc_;
    double pacing_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool cancelled_ = false;
};

} // namespace sentravex
