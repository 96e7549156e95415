#include "AppDelegate.h"

#include "AlertDialog.h"
#include "SettingsDefaults.h"
#include "access/AlertPanel.h"
#include "platform/Workspace.h"
#include "remote/ScanScopeFlag.h"

#include <QApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
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
    QNetworkRequest request(QUrl(config_.configServer + "/quorvane.txt"));
    request.setTransferTimeout(static_cast<int>(config_.fetchTimeout.count()));
    auto* reply = network_->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        // An HTTP error status still has a body to read; a transport failure or a timeout has
        // none worth reading.
        const auto error = reply->error();
        const bool answered =
            reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid() &&
            error != QNetworkReply::OperationCanceledError && error != QNetworkReply::TimeoutError;
        const QByteArray body = answered ? reply->readAll() : QByteArray();
        const bool flag =
            scanScopeFlag(answered ? std::optional(std::string_view(body.constData(), body.size()))
                                   : std::nullopt);
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
