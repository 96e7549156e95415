#include "QtOpenPanel.h"

#include <QDir>
#include <QFileDialog>
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
    QFileDialog panel(nullptr, QString::fromStdString(settings.message),
                      QString::fromStdString(root_.hostPathOf(settings.directory)));
    // The platform dialog may not show our own prompt.
    panel.setOption(QFileDialog::DontUseNativeDialog);
    panel.setFileMode(settings.canChooseDirectories && !settings.canChooseFiles
                          ? QFileDialog::Directory
                          : QFileDialog::ExistingFile);
    panel.setOption(QFileDialog::ShowDirsOnly, !settings.canChooseFiles);
    panel.setLabelText(QFileDialog::Accept, QString::fromStdString(settings.prompt));
    panel.setWindowModality(Qt::ApplicationModal);

    OpenPanelAnswer answer;
    if (panel.exec() != QDialog::Accepted)
        return answer;
    answer.response = kOpenPanelOK;
    if (const auto chosen = panel.selectedFiles(); !chosen.isEmpty())
        answer.url = logicalPathOf(root_, chosen.front());
    return answer;
}

} // namespace sentravex
