// Before a clean: a running browser or Mail writes back from memory what is deleted under it, so
// the user may have it quit first, clean anyway, or not clean.
#include "AlertService.h"
#include "CleanProgressDialog.h"
#include "ViewController.h"
#include "platform/Processes.h"

#include <QEventLoop>
#include <condition_variable>
#include <mutex>

namespace sentravex {

bool ViewController::settleRunningOwners(std::vector<CleanerCategory>& categories,
                                         std::vector<RunningOwner>& stillRunning) {
    const bool ownDisk = options_.services.ownDisk.value_or(fs_.root().isSystemRoot());
    const auto owners = runningOwners(categories, processes_->running(), ownDisk);
    if (owners.empty())
        return true;
    const AlertMessage alert{
        runningOwnersText(owners), {}, {runningOwnersButtons.begin(), runningOwnersButtons.end()}};
    switch (alerts_->runModal(alert)) {
    case kAlertFirstButtonReturn: {
        auto left = quitAndWaitFor(owners);
        if (!left)
            return false;
        leaveOut(categories, *left);
        stillRunning = std::move(*left);
        return true;
    }
    case kAlertSecondButtonReturn:
        return true;
    default:
        return false;
    }
}

std::optional<std::vector<RunningOwner>>
ViewController::quitAndWaitFor(const std::vector<RunningOwner>& owners) {
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
        bool stopped = false;
    } shared;
    CleanProgressDialog waiting(window());
    waiting.setWindowModality(Qt::ApplicationModal);
    waiting.setText(QString::fromStdString(quitWaitText(owners)));
    connect(&waiting, &CleanProgressDialog::cancelRequested, this, [&shared] {
        std::lock_guard lock(shared.mutex);
        shared.stopped = true;
        shared.changed.notify_all();
    });
    waiting.show();

    QEventLoop loop;
    std::vector<RunningOwner> left;
    const double pacing = options_.pacing;
    std::thread worker([&] {
        left = quitAndWait(owners, *processes_, [&shared, pacing](std::chrono::milliseconds d) {
            std::unique_lock lock(shared.mutex);
            shared.changed.wait_for(lock, d * pacing, [&shared] { return shared.stopped; });
        });
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    loop.exec(); // modal: nothing beneath takes input while the applications quit
    worker.join();
    waiting.hide();
    std::lock_guard lock(shared.mutex);
    if (shared.stopped)
        return std::nullopt;
    return left;
}

} // namespace sentravex
