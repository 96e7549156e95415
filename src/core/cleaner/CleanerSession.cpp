#include "CleanerSession.h"

#include "CheckBoxRules.h"

#include <condition_variable>
#include <mutex>

namespace sentravex {

// What a build and its owner share. The mutex guards every field: what is on its way over,
// whether the owner has taken it in, and whether the session has given up on the build.
struct CleanerSession::Gate {
    enum class Step { None, Category, End, Taken };

    // Hands a step over and waits until the owner has taken it in, or the session gives up.
    void handOver(const Wake& wake, Step step, std::optional<CleanerCategory> category = {}) {
        std::unique_lock lock(mutex);
        if (cancelled)
            return;
        pending = step;
        handed = std::move(category);
        wake();
        changed.wait(lock, [this] { return pending == Step::None || cancelled; });
    }

    std::mutex mutex;
    std::condition_variable changed;
    Step pending = Step::None;
    std::optional<CleanerCategory> handed;
    bool cancelled = false;
};

CleanerSession::CleanerSession(const FileSystem& fs, std::string user, Wake wake, Events events)
    : cleaner_(fs, std::move(user), /*sizing*/ true, &stop_), wake_(std::move(wake)),
      events_(std::move(events)) {}

CleanerSession::~CleanerSession() {
    stopBuild();
}

void CleanerSession::stopBuild() {
    stop_.request();
    if (gate_) {
        std::lock_guard lock(gate_->mutex);
        gate_->cancelled = true;
        gate_->changed.notify_all();
    }
    if (thread_.joinable())
        thread_.join();
}

bool CleanerSession::startBuild() {
    if (!mayStartBuild())
        return false;
    categories_.clear();
    openRow_ = -1;
    isBuilding_ = true;
    // The last build has handed over its end and is returning.
    if (thread_.joinable())
        thread_.join();
    gate_ = std::make_shared<Gate>();
    thread_ = std::thread([this, gate = gate_] { build(gate); });
    return true;
}

void CleanerSession::build(const std::shared_ptr<Gate>& gate) const {
    cleaner_.scanInBG([this, &gate](std::optional<CleanerCategory> found) {
        gate->handOver(wake_, Gate::Step::Category, std::move(found));
    });
    gate->handOver(wake_, Gate::Step::End);
}

void CleanerSession::deliver() {
    const auto gate = gate_;
    if (!gate)
        return;
    Gate::Step step;
    std::optional<CleanerCategory> category;
    {
        std::lock_guard lock(gate->mutex);
        step = gate->pending;
        if (step != Gate::Step::Category && step != Gate::Step::End)
            return;
        gate->pending = Gate::Step::Taken;
        category = std::move(gate->handed);
        gate->handed.reset();
    }
    auto release = [&gate] {
        std::lock_guard lock(gate->mutex);
        gate->pending = Gate::Step::None;
        gate->changed.notify_all();
    };
    if (step == Gate::Step::End) {
        release(); // the thread returns: what hears of the end may start the next build
        isBuilding_ = false;
        isDone_ = true;
        if (events_.buildDone)
            events_.buildDone();
        return;
    }
    if (category)
        categories_.push_back(std::move(*category));
    if (events_.categoryHandedOn)
        events_.categoryHandedOn();
    release(); // the build goes on once the owner has shown what it was handed
}

const CleanerCategory* CleanerSession::openCategory() const {
    if (openRow_ < 0 || openRow_ >= static_cast<int>(categories_.size()))
        return nullptr;
    return &categories_[static_cast<std::size_t>(openRow_)];
}

bool CleanerSession::checkCategory(int row, CheckState sender) {
    if (row < 0 || row >= static_cast<int>(categories_.size()))
        return false;
    sentravex::checkCategory(categories_[static_cast<std::size_t>(row)], sender);
    return true;
}

bool CleanerSession::checkItem(int row, CheckState sender) {
    if (!openCategory() || row < 0)
        return false;
    return sentravex::checkItem(categories_[static_cast<std::size_t>(openRow_)],
                                static_cast<std::size_t>(row), sender)
        .has_value();
}

bool CleanerSession::open(int row) {
    if (row < 0 || row >= static_cast<int>(categories_.size()))
        return false;
    openRow_ = row;
    return true;
}

void CleanerSession::close() {
    if (openCategory()) {
        auto& category = categories_[static_cast<std::size_t>(openRow_)];
        category.isChecked = categoryStateFromItems(category);
    }
    openRow_ = -1;
}

bool CleanerSession::removeEnabled() const {
    return !isBuilding_ && removeButtonEnabled(categories_);
}

} // namespace sentravex
