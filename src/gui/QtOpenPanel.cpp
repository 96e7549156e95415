#include "QtOpenPanel.h"

#include <QFileDialog>

namespace sentravex {

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
        answer.url = root_.logicalPathOfChosen(chosen.front().toStdString());
    return answer;
}

} // namespace sentravex
