#include "QtOpenPanel.h"

#include "FolderChooser.h"

#include <QFileInfo>

namespace sentravex {
namespace {

std::optional<std::string> logicalPathOf(const Root& root, const QString& chosen) {
    const QString host = QFileInfo(chosen).canonicalFilePath();
    const QString top = QFileInfo(QString::fromStdString(root.hostPath())).canonicalFilePath();
    if (host.isEmpty() || top.isEmpty())
        return std::nullopt;
    if (host == top)
        return "/";
    const QString prefix = top.endsWith('/') ? top : top + '/';
    if (!host.startsWith(prefix))
        return std::nullopt;
    return host.mid(prefix.size() - 1).toStdString();
}

} // namespace

OpenPanelAnswer QtOpenPanel::runModal(const OpenPanelSettings& settings) {
    // Links on the way to the logical folder lead where they do inside the root, not on this
    // machine.
    const auto start =
        root_.resolve(settings.directory).value_or(root_.hostPathOf(settings.directory));
    OpenPanelAnswer answer;
    const auto chosen = chooseFolder(settings, QString::fromStdString(start));
    if (!chosen)
        return answer;
    answer.response = kOpenPanelOK;
    if (!chosen->isEmpty())
        answer.url = logicalPathOf(root_, *chosen);
    return answer;
}

} // namespace sentravex
