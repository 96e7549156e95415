#include "QtWorkspace.h"

#include "FileReveal.h"
#include "platform/Processes.h"

#include <QDesktopServices>
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
    return revealFile(QString::fromStdString(path));
}

} // namespace sentravex
