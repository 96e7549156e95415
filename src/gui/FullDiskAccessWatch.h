#pragma once

#include "access/FullDiskAccess.h"

#include <QObject>
#include <functional>
#include <optional>

namespace sentravex {

class AlertPanel;
class Workspace;

// Whether Full Disk Access is missing, probed at the start and again whenever the application
// becomes active: the user may be back from System Settings with the grant.
class FullDiskAccessWatch : public QObject {
    Q_OBJECT
public:
    using Probe = std::function<std::optional<FullDiskAccess>()>;

    explicit FullDiskAccessWatch(Probe probe, QObject* parent = nullptr);

    // Before a scan or a clean: the notice while the grant is missing; true when the work goes on.
    bool goOn(AlertPanel& alerts, Workspace& workspace) const;

private:
    Probe probe_;
    std::optional<FullDiskAccess> state_;
};

} // namespace sentravex
