#pragma once

#include "QtAlertService.h"
#include "QtOpenPanel.h"
#include "QtWorkspace.h"
#include "access/LocalBookmarks.h"
#include "platform/Defaults.h"
#include "platform/Processes.h"
#include "platform/SystemScriptRunner.h"

namespace sentravex {

// The real services of the window, for each one its creator did not give.
struct PlatformServices {
    explicit PlatformServices(const Root& root) : openPanel(root), bookmarks(root) {}

    SystemScriptRunner scripts;
    QtOpenPanel openPanel;
    QtAlertService alerts;
    MemoryDefaults defaults;
    QtWorkspace workspace;
    SystemProcesses processes;
    LocalBookmarks bookmarks;
};

} // namespace sentravex
