// The services the removal and the access grants work through, the buttons of the completion
// view, the access check before a scan and the version approval check.
#include "AppDelegate.h"
#include "PlatformServices.h"
#include "ThreatTableModel.h"
#include "ViewController.h"
#include "remote/VersionApproval.h"
#include "ui_ViewController.h"

#include <QItemSelectionModel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <iostream>

namespace sentravex {
namespace {

// A request that has not ended by then counts as a connection error.
constexpr int kVersionCheckTimeoutMs = 15000;

} // namespace

void ViewController::setUpServices() {
    const auto& given = options_.services;
    platform_ = std::make_unique<PlatformServices>(fs_.root());
    ScriptRunner& scripts = given.scripts ? *given.scripts : platform_->scripts;
    OpenPanel& openPanel = given.openPanel ? *given.openPanel : platform_->openPanel;
    Defaults& defaults = given.defaults ? *given.defaults : platform_->defaults;
    platform_->alerts.setAnchor(this);
    alerts_ = given.alerts ? given.alerts : &platform_->alerts;
    workspace_ = given.workspace ? given.workspace : &platform_->workspace;

    remover_ =
        std::make_unique<ThreatRemover>(given.files ? *given.files : fs_, fs_.root(), scripts);
    access_ = std::make_unique<AccessGrants>(
        AccessGrants::Services{fs_, defaults, platform_->bookmarks, openPanel, *alerts_, std::cerr},
        options_.user);

    connect(ui_->btnCleanAll, &QPushButton::clicked, this, &ViewController::cleanAllThreats);
    connect(ui_->btnShowInFinder, &QPushButton::clicked, this, &ViewController::showInFinder);
    connect(ui_->btnShowDetails, &QPushButton::clicked, this,
            &ViewController::showNotRemovedDetails);
    connect(ui_->btnReset, &QPushButton::clicked, this, &ViewController::resetApp);
    connect(ui_->tblThreatInfo->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ViewController::tableViewSelectionDidChange);
    // A reload forgets the selection without telling the selection's listeners.
    connect(threatModel_, &QAbstractItemModel::modelReset, this,
            &ViewController::tableViewSelectionDidChange);
}

bool ViewController::checkForHDAccess() {
    return access_->checkForHDAccess();
}

void ViewController::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!versionCheckStarted_ && !options_.configServer.empty()) {
        versionCheckStarted_ = true;
        CheckVersionApprove();
    }
}

void ViewController::CheckVersionApprove() {
    currentVersion_ = kRunningVersion;
    if (!network_)
        network_ = new QNetworkAccessManager(this);
    QNetworkRequest request(
        QUrl(QString::fromStdString(options_.configServer) + QLatin1String(kVersionConfigPath)));
    request.setTransferTimeout(kVersionCheckTimeoutMs);
    auto* reply = network_->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        // Any HTTP answer has a body to judge, whatever its status.
        const bool answered =
            reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid() &&
            reply->error() != QNetworkReply::OperationCanceledError &&
            reply->error() != QNetworkReply::TimeoutError;
        std::optional<std::string> body;
        if (answered)
            body = reply->readAll().toStdString();
        const auto approved = versionApproval(currentVersion_, body, std::cerr);
        if (approved && appDel_)
            appDel_->setIsVersionApproved(*approved);
        emit versionCheckDone();
    });
}

} // namespace sentravex
