#include "QtWorkspace.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <csignal>
#include <unistd.h>

namespace sentravex {

// Applications are this account's processes with a command line (kernel threads have none).
// Nothing here carries a bundle identifier, so none is reported.
std::vector<Workspace::RunningApplication> QtWorkspace::runningApplications() const {
    std::vector<RunningApplication> apps;
    const QDir proc("/proc");
    for (const auto& entry : proc.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        bool numeric = false;
        const long pid = entry.fileName().toLong(&numeric);
        if (!numeric || entry.ownerId() != ::getuid())
            continue;
        QFile cmdline(entry.filePath() + "/cmdline");
        QFile comm(entry.filePath() + "/comm");
        if (!cmdline.open(QIODevice::ReadOnly) || cmdline.read(1).isEmpty() ||
            !comm.open(QIODevice::ReadOnly))
            continue;
        apps.push_back({comm.readAll().trimmed().toStdString(), {}, pid});
    }
    return apps;
}

void QtWorkspace::terminate(const RunningApplication& app) {
    if (app.processIdentifier > 0)
        ::kill(static_cast<pid_t>(app.processIdentifier), SIGTERM);
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
