#pragma once

#include "access/OpenPanel.h"

#include <QString>
#include <optional>

namespace sentravex {

// The system's folder chooser, opening at a host folder with the settings' message inside it and
// their prompt on its confirm button. Nothing when it was dismissed; else the chosen host path,
// empty when nothing was chosen. One implementation per operating system.
std::optional<QString> chooseFolder(const OpenPanelSettings& settings, const QString& startAt);

} // namespace sentravex
