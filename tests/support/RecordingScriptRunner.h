#pragma once

#include "platform/ScriptRunner.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace sentravex::test {

// Keeps every script source instead of running it and answers with scripted outcomes, true once
// they are used up. `onRun` stands in for what the script would have done.
class RecordingScriptRunner : public ScriptRunner {
public:
    bool run(const std::string& source) override {
        sources.push_back(source);
        bool outcome = true;
        if (!outcomes.empty()) {
            outcome = outcomes.front();
            outcomes.pop_front();
        }
        if (onRun)
            onRun(source, outcome);
        return outcome;
    }

    std::vector<std::string> sources;
    std::deque<bool> outcomes;
    std::function<void(const std::string& source, bool outcome)> onRun;
};

} // namespace sentravex::test
