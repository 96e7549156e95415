#include "UnpacedScan.h"

#include "scan/ProgressSink.h"
#include "scan/ThreatScanner.h"

#include <cmath>

namespace sentravex::cli {
namespace {

class CountingSink : public ProgressSink {
public:
    void step(int, double seconds, const std::string&) override {
        ++steps;
        tenths += std::lround(seconds * 10); // summed in tenths: 26.3, not 26.29…
    }
    int steps = 0;
    long tenths = 0;
};

} // namespace

UnpacedScan scanWithoutPacing(const FileSystem& fs, const std::string& user) {
    ThreatScanner scanner(fs, user);
    CountingSink sink;
    scanner.checkQuorvane(sink);
    return {scanner.arrQuorvaneList(), sink.steps, static_cast<double>(sink.tenths) / 10};
}

} // namespace sentravex::cli
