#include "PacedSink.h"

#include "ViewController.h"

#include <QMetaObject>
#include <chrono>

namespace sentravex {

void PacedSink::scanStarted() {
    QMetaObject::invokeMethod(
        &vc_, [vc = &vc_] { vc->scanThreadStarted(); }, Qt::QueuedConnection);
}

void PacedSink::step(int number, double seconds, const std::string& text) {
    QMetaObject::invokeMethod(
        &vc_,
        [vc = &vc_, t = QString::fromStdString(text), number] {
            vc->ScanningProgressChange(t, number);
        },
        Qt::QueuedConnection);
    waitFor(seconds);
}

void PacedSink::scanDone() {
    QMetaObject::invokeMethod(
        &vc_, [vc = &vc_] { vc->doneScan(); }, Qt::QueuedConnection);
}

void PacedSink::cancel() {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    wake_.notify_all();
}

void PacedSink::waitFor(double seconds) {
    if (pacing_ <= 0)
        return;
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, std::chrono::duration<double>(seconds * pacing_),
                   [this] { return cancelled_; });
}

} // namespace sentravex
