#include "AppDelegate.h"

#include "RemoteFetch.h"
#include "SettingsDefaults.h"
#include "access/AlertPanel.h"
#include "platform/Workspace.h"
#include "remote/ScanScopeFlag.h"

#include <QApplication>
#include <QMessageBox>
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
                        [this](std::optional<std::string> body) {
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

void AppDelegate::wantHelp() {
    workspace_.openURL(config_.helpSite.toStdString());
}

void AppDelegate::createAlertForInformativeText(const QString& informativeText,
                                                const QString& messageText, bool runModal,
                                                QWidget* window, AlertPanel* panel) {
    if (runModal && window) {
        auto* alert = new QMessageBox(QMessageBox::NoIcon, messageText, messageText,
                                      QMessageBox::NoButton, window);
        alert->setInformativeText(informativeText);
        alert->addButton(tr("OK"), QMessageBox::AcceptRole);
        alert->setWindowModality(Qt::WindowModal);
        alert->setAttribute(Qt::WA_DeleteOnClose);
        alert->open();
        return;
    }
    if (panel) {
        panel->runModal({messageText.toStdString(), informativeText.toStdString(), {}});
        return;
    }
    QMessageBox alert(QMessageBox::NoIcon, messageText, messageText);
    alert.setInformativeText(informativeText);
    alert.addButton(tr("OK"), QMessageBox::AcceptRole);
    alert.setWindowModality(Qt::ApplicationModal);
    alert.exec();
}

} // namespace sentravex
