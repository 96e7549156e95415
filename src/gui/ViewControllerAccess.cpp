// The services the removal and the access grants work through, the buttons of the completion
// view, the access check before a scan and the version approval check.
#include "AppDelegate.h"
#include "FullDiskAccessWatch.h"
#include "PlatformServices.h"
#include "RemoteFetch.h"
#include "ThreatTableModel.h"
#include "ViewController.h"
#include "access/MacDisk.h"
#include "remote/HttpAnswer.h"
#include "remote/VersionApproval.h"
#include "ui_ViewController.h"
#include "view/WindowAlerts.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QItemSelectionModel>
#include <QNetworkAccessManager>
#include <QtConcurrent>
#include <iostream>

namespace sentravex {

void ViewController::setUpServices() {
    const auto& given = options_.services;
    platform_ = std::make_unique<PlatformServices>(fs_.root());
    ScriptRunner& scripts = given.scripts ? *given.scripts : platform_->scripts;
    OpenPanel& openPanel = given.openPanel ? *given.openPanel : platform_->openPanel;
    Defaults& defaults = given.defaults ? *given.defaults : platform_->defaults;
    platform_->alerts.setAnchor(this);
    alerts_ = given.alerts ? given.alerts : &platform_->alerts;
    workspace_ = given.workspace ? given.workspace : &platform_->workspace;

    const Processes& processes = given.processes ? *given.processes : platform_->processes;
    processes_ = &processes;
    // The command-line program beside the window deletes the protected paths under another root.
    const auto helper = QCoreApplication::applicationDirPath() + QStringLiteral("/sentravex-cli");
    remover_ = std::make_unique<ThreatRemover>(
        given.files ? *given.files : fs_, fs_.root(), scripts, processes,
        given.privileges.value_or(ThreatRemover::privilegesOf(helper.toStdString())));
    access_ = std::make_unique<AccessGrants>(
        AccessGrants::Services{fs_, defaults, platform_->bookmarks, openPanel, *alerts_, std::cerr},
        options_.user);
    const FileSystem* files = given.files ? given.files : &fs_;
    fullDiskAccess_ = new FullDiskAccessWatch(
        given.fullDiskAccess ? given.fullDiskAccess
                             : [files, user = options_.user, systemRoot = fs_.root().isSystemRoot()] {
                                   return sentravex::fullDiskAccess(*files, user, systemRoot);
                               },
        this);

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

bool ViewController::rootIsMacDisk() const {
    const auto problem = macDiskProblem(fs_, options_.user, options_.root);
    if (problem)
        alerts_->runModal(macDiskAlert(*problem));
    return !problem;
}

bool ViewController::checkForHDAccess() {
    return access_->checkForHDAccess();
}

bool ViewController::goOnWithoutFullDiskAccess() const {
    return fullDiskAccess_->goOn(*alerts_, *workspace_);
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
    const QUrl url(QString::fromStdString(options_.configServer) +
                   QLatin1String(kVersionConfigPath));
    fetchRemoteDocument(*network_, url, kVersionDocumentCap, kRequestDeadline, this,
                        [this](std::optional<std::string> body) {
                            // The document is read on a worker so that the window keeps answering;
                            // a window closed meanwhile takes the watcher along and the answer is
                            // dropped.
                            auto* watcher = new QFutureWatcher<std::optional<bool>>(this);
                            connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
                                watcher->deleteLater();
                                if (const auto approved = watcher->result(); approved && appDel_)
                                    appDel_->setIsVersionApproved(*approved);
                                emit versionCheckDone();
                            });
                            watcher->setFuture(QtConcurrent::run(
                                [version = currentVersion_, body = std::move(body)] {
                                    return versionApproval(version, body, std::cerr);
                                }));
                        });
}

} // namespace sentravex
