#include "ScanClock.h"

#include <cstdio>

namespace sentravex {

void ScanClock::countdown() {
    if (++countDown >= 60) {
        ++countdownCounterMinutes;
        countDown = 0;
    }
}

std::string ScanClock::text() const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d", countdownCounterMinutes, countDown);
    return buf;
}

} // namespace sentravex
