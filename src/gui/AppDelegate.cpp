#include "AppDelegate.h"

#include "AlertDialog.h"
#include "RemoteFetch.h"
#include "SettingsDefaults.h"
#include "access/AlertPanel.h"
#include "platform/Workspace.h"
#include "remote/ScanScopeFlag.h"

#include <QApplication>
#include <QNetworkAccessManager>
#include <QWidget>
#include <iostream>

namespace sentravex {

AppDelegate::AppDelegate(SettingsDefaults& defaults, Workspace& workspace, Config config,
                         QObject* parent)
    : QObject(parent), defaults_(defaults), workspace_(workspace), config_(std::move(config)),
      network_(new QNetworkAccessManager(this)) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching() {
    defaults_.setBool("NSConstraintBasedLayoutVisualizeMutuallyExclusiveConstraints", true);
    defaults_.synchronize();
    defaults_.setBool("SandboxingDone", false);
    checkDataFromURL();
}

void AppDelegate::checkDataFromURL() {
    const QUrl url(config_.configServer + QLatin1String(kScanScopeFlagPath));
    fetchRemoteDocument(*network_, url, kScanScopeFlagCap, config_.fetchTimeout, this,
                        [this](const std::optional<std::string>& body) {
                            const bool flag = scanScopeFlag(body);
                            defaults_.setBool("SandboxingDone", flag);
                            defaults_.synchronize();
                            emit remoteFlagFetched(flag);
                        });
}

bool AppDelegate::applicationShouldHandleReopen(QWidget* window, bool) {
    if (window) {
        window->show();
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->raise();
        window->activateWindow();
    }
    return true;
}

void AppDelegate::applicationWillTerminate() {
    for (const auto& app : workspace_.runningApplications()) {
        std::cerr << app.localizedName << '\n';
        if (app.bundleIdentifier == helperBundleIdentifier)
            workspace_.terminate(app);
    }
    std::cerr.flush();
}

bool AppDelegate::wantHelp() {
    return workspace_.openURL(config_.helpSite.toStdString());
}

void AppDelegate::createAlertForInformativeText(const QString& informativeText,
                                                const QString& messageText, bool runModal,
                                                QWidget* window, AlertPanel* panel,
                                                const QString& details) {
    const AlertMessage alert{
        messageText.toStdString(), informativeText.toStdString(), {}, details.toStdString()};
    if (runModal && window) {
        auto* sheet = new AlertDialog(alert, window);
        sheet->setWindowModality(Qt::WindowModal);
        sheet->setAttribute(Qt::WA_DeleteOnClose);
        sheet->open();
        return;
    }
    if (panel) {
        panel->runModal(alert);
        return;
    }
    AlertDialog box(alert, window ? window->window() : nullptr);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace sentravex
