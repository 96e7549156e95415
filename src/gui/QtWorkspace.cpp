#include "QtWorkspace.h"

#include "platform/Processes.h"
#include "platform/Root.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QUrl>
#include <csignal>
#include <unistd.h>

namespace sentravex {

std::vector<Workspace::RunningApplication> QtWorkspace::runningApplications() const {
    std::vector<RunningApplication> apps;
    for (const auto& p : SystemProcesses().running())
        apps.push_back({p.name, p.bundleIdentifier, p.pid});
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

QIcon QtWorkspace::iconForFile(const Root& root, const std::string& bundle) {
    auto plist = root.resolve(bundle + "/Contents/Info.plist");
    if (!plist)
        return {};
    QFile file(QString::fromStdString(*plist));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression iconKey(
        QStringLiteral("<key>CFBundleIconFile</key>\\s*<string>([^<]+)</string>"));
    const auto match = iconKey.match(QString::fromUtf8(file.read(1 << 20)));
    if (!match.hasMatch())
        return {};
    QString name = match.captured(1).trimmed();
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".icns");
    // The name comes from the bundle: it is resolved inside the root like any other path.
    auto icns = root.resolve(bundle + "/Contents/Resources/" + name.toStdString());
    if (!icns || !QImageReader(QString::fromStdString(*icns)).canRead())
        return {};
    return QIcon(QString::fromStdString(*icns));
}

} // namespace sentravex
