#include "FullDiskAccessWatch.h"

#include <QGuiApplication>

namespace sentravex {

FullDiskAccessWatch::FullDiskAccessWatch(Probe probe, QObject* parent)
    : QObject(parent), probe_(std::move(probe)), state_(probe_()) {
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    state_ = probe_();
            });
}

bool FullDiskAccessWatch::goOn(AlertPanel& alerts, Workspace& workspace) const {
    return goOnWithoutFullDiskAccess(state_, alerts, workspace);
}

} // namespace sentravex
