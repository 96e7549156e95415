#pragma once

#include "AlertService.h"
#include "FakeProcesses.h"
#include "RecordingScriptRunner.h"
#include "ViewController.h"
#include "access/OpenPanel.h"
#include "platform/Defaults.h"
#include "platform/Workspace.h"
#include "removal/ProtectedDeletion.h"
#include "removal/QuorvaneScripts.h"

#include <deque>
#include <functional>
#include <vector>

namespace sentravex::test {

// The window's widget of that object name; a test cannot go on without it.
template <class T> T* widget(const QObject& window, const char* name) {
    auto* w = window.findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no widget %s", name);
    return w;
}

// A folder chooser that answers at once, keeping what it was asked to show.
class FakeOpenPanel : public OpenPanel {
public:
    OpenPanelAnswer runModal(const OpenPanelSettings& settings) override {
        shown.push_back(settings);
        return answer;
    }

    std::vector<OpenPanelSettings> shown;
    OpenPanelAnswer answer{kOpenPanelOK, std::nullopt};
};

// Alerts that never show: modal ones take their answers from a queue (the first button once it
// is empty); sheets are kept with their handlers for the test to answer.
class FakeAlerts : public AlertService {
public:
    long runModal(const AlertMessage& alert) override {
        modal.push_back(alert);
        if (answers.empty())
            return kAlertFirstButtonReturn;
        const long answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void beginSheetModalForWindow(const AlertMessage& alert, QWidget* window,
                                  std::function<void(long)> completionHandler) override {
        sheets.push_back({alert, window, std::move(completionHandler)});
    }

    struct Sheet {
        AlertMessage alert;
        QWidget* window;
        std::function<void(long)> completionHandler;
    };
    std::vector<AlertMessage> modal;
    std::deque<long> answers;
    std::vector<Sheet> sheets;
};

// A desktop that keeps what it was asked to open and answers whether anything opened it.
class RecordingWorkspace : public Workspace {
public:
    std::vector<RunningApplication> runningApplications() const override { return {}; }
    void terminate(const RunningApplication&) override {}
    bool openURL(const std::string& url) override {
        opened.push_back(url);
        return opens;
    }
    bool selectFile(const std::string& path) override {
        selected.push_back(path);
        return opens;
    }

    std::vector<std::string> opened;
    std::vector<std::string> selected;
    bool opens = true;
};

// Every service of the window as a fake; by default the access panel grants without a folder,
// Quorvane runs and the protected paths under a fixture's root go through `helper`.
struct GuiFakes {
    ViewController::Options::Services services() {
        return {.scripts = &scripts,
                .openPanel = &openPanel,
                .alerts = &alerts,
                .defaults = &defaults,
                .workspace = &workspace,
                .processes = &processes,
                .privileges = ThreatRemover::Privileges{false, helper}};
    }

    static constexpr const char* helper = "/opt/sentravex/sentravex-cli";

    // The administrator command, when authorised, does what the command-line program would: it
    // removes the protected paths under the root.
    void removeProtectedPathsOn(const FileSystem& fs, const std::string& root) {
        scripts.onRun = [&fs, root](const std::string& source, bool outcome) {
            if (outcome && source == sentravex::scripts::DeleteQuorvaneAppUnder(helper, Root(root)))
                removeProtectedPaths(fs);
        };
    }

    RecordingScriptRunner scripts;
    FakeOpenPanel openPanel;
    FakeAlerts alerts;
    MemoryDefaults defaults;
    RecordingWorkspace workspace;
    FakeProcesses processes = FakeProcesses().with("Quorvane");
};

} // namespace sentravex::test
