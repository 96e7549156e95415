#pragma once

#include "scan/ProgressSink.h"

#include <string>
#include <vector>

namespace sentravex::test {

// Keeps every progress step instead of waiting for it.
class RecordingSink : public ProgressSink {
public:
    struct Step {
        int number;
        double seconds;
        std::string text;
    };

    void scanStarted() override { ++starts; }
    void step(int number, double seconds, const std::string& text) override {
        steps.push_back({number, seconds, text});
    }
    void scanDone() override { ++dones; }

    double totalSeconds() const {
        long tenths = 0;
        for (const auto& s : steps)
            tenths += static_cast<long>(s.seconds * 10 + 0.5);
        return static_cast<double>(tenths) / 10;
    }

    std::vector<Step> steps;
    int starts = 0;
    int dones = 0;
};

} // namespace sentravex::test
