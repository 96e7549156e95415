#include "CompletionActions.h"

#include "scan/ProgressSink.h"
#include "scan/ThreatScanner.h"

namespace sentravex {

void resetScanProgress(int& countDown, int& countdownCounterMinutes) {
    resetScanStepCounter();
    countDown = 0;
    countdownCounterMinutes = 0;
}

void resetApp(ThreatScanner& scanner, int& countDown, int& countdownCounterMinutes) {
    resetScanProgress(countDown, countdownCounterMinutes);
    scanner.clear();
}

} // namespace sentravex
