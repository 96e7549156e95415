#include "QtWorkspace.h"

#include "platform/Processes.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace sentravex {

std::vector<Workspace::RunningApplication> QtWorkspace::runningApplications() const {
    std::vector<RunningApplication> apps;
    for (const auto& p : SystemProcesses().running())
        apps.push_back({p.name, p.bundleIdentifier, p.pid});
    return apps;
}

void QtWorkspace::terminate(const RunningApplication& app) {
    SystemProcesses().requestQuit({app.processIdentifier, app.localizedName, app.bundleIdentifier});
}

bool QtWorkspace::openURL(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

bool QtWorkspace::selectFile(const std::string& path) {
    // Desktop file viewers take a folder to open, not an item to select.
    const QFileInfo item(QString::fromStdString(path));
    return QDesktopServices::openUrl(QUrl::fromLocalFile(item.absolutePath()));
}

} // namespace sentravex
