#pragma once

#include "remote/HttpAnswer.h"

#include <QObject>
#include <QString>
#include <chrono>

class QNetworkAccessManager;
class QWidget;

namespace sentravex {

class AlertPanel;
class SettingsDefaults;
class Workspace;

// The application shell: launch defaults, the remote scan-scope flag, reopen, quit and help.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    struct Config {
        QString configServer; // base URL of the configuration server, plain HTTP
        QString helpSite;
        // The whole fetch ends by then, answered or not: no answer in time is a NO.
        std::chrono::milliseconds fetchTimeout{kRequestDeadline};
    };

    AppDelegate(SettingsDefaults& defaults, Workspace& workspace, Config config,
                QObject* parent = nullptr);
    ~AppDelegate() override;

    void applicationDidFinishLaunching();
    void checkDataFromURL();
    bool applicationShouldHandleReopen(QWidget* window, bool hasVisibleWindows);
    bool applicationShouldTerminateAfterLastWindowClosed() const { return false; }
    void applicationWillTerminate();
    // Whether a browser took the help page.
    bool wantHelp();
    const QString& helpSite() const { return config_.helpSite; }

    // One "OK" button. `runModal` YES hangs the alert from the window and returns at once; NO
    // runs it application-modally over the window and returns when it is dismissed, through
    // `panel` when given. `details` go behind its "Show Details" button.
    static void createAlertForInformativeText(const QString& informativeText,
                                              const QString& messageText, bool runModal,
                                              QWidget* window, AlertPanel* panel = nullptr,
                                              const QString& details = {});

    bool isVersionApproved() const { return isVersionApproved_; }
    void setIsVersionApproved(bool approved) { isVersionApproved_ = approved; }

signals:
    void remoteFlagFetched(bool flag);

private:
    SettingsDefaults& defaults_;
    Workspace& workspace_;
    Config config_;
    QNetworkAccessManager* network_;
    bool isVersionApproved_ = false;
};

inline constexpr const char* helperBundleIdentifier = "com.lindqvale.PurgewellHelper";

} // namespace sentravex
