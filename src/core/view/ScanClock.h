#pragma once

#include <string>

namespace sentravex {

// The elapsed time of a scan, ticked once a second. Minutes are not bounded.
struct ScanClock {
    int countDown = 0;               // seconds, 0 to 59
    int countdownCounterMinutes = 0; // minutes

    void countdown();
    void reset() { countDown = countdownCounterMinutes = 0; }
    // "%02d:%02d": 00:59, 01:00, 100:00.
    std::string text() const;
};

} // namespace sentravex
