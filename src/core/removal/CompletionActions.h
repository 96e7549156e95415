#pragma once

namespace sentravex {

class ThreatScanner;

// What rescan and reset set back: the scan step counter and the elapsed time.
void resetScanProgress(int& countDown, int& countdownCounterMinutes);
// Reset: the same, and the threat list emptied. The removal's lists and flag keep their values
// until the next scan or removal run.
void resetApp(ThreatScanner& scanner, int& countDown, int& countdownCounterMinutes);

} // namespace sentravex
