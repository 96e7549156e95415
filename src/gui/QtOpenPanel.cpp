#include "QtOpenPanel.h"

#include "FolderChooser.h"

namespace sentravex {

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
        answer.url = root_.logicalPathOfChosen(chosen->toStdString());
    return answer;
}

} // namespace sentravex
