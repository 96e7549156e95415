#include "CleanerSession.h"

#include "CheckBoxRules.h"

#include <condition_variable>
#include <mutex>

namespace sentravex {

// What a build and its owner share. The mutex guards every field: the category on its way over,
// whether the owner has taken it, and whether the session has given up on the build.
struct CleanerSession::Gate {
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<CleanerCategory> pending;
    bool taken = false;
    bool cancelled = false;
};

CleanerSession::CleanerSession(const FileSystem& fs, std::string user, Post post, Events events)
    : cleaner_(fs, std::move(user), /*sizing*/ true, &stop_), post_(std::move(post)),
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

void CleanerSession::build(const std::shared_ptr<Gate>& gate) {
    cleaner_.scanInBG([this, &gate](std::optional<CleanerCategory> found) {
        {
            std::lock_guard lock(gate->mutex);
            gate->pending = std::move(found);
        }
        handOver(gate, [this, gate] {
            std::optional<CleanerCategory> category;
            {
                std::lock_guard lock(gate->mutex);
                category = std::move(gate->pending);
                gate->pending.reset();
            }
            if (category)
                categories_.push_back(std::move(*category));
            if (events_.categoryHandedOn)
                events_.categoryHandedOn();
        });
    });
    handOver(gate, [this] { finishBuild(); });
}

void CleanerSession::handOver(const std::shared_ptr<Gate>& gate, std::function<void()> work) {
    std::unique_lock lock(gate->mutex);
    // Posted under the lock: once the session has given up, nothing more reaches it.
    if (gate->cancelled)
        return;
    gate->taken = false;
    post_([gate, work = std::move(work)] {
        {
            std::lock_guard held(gate->mutex);
            if (gate->cancelled)
                return; // the session is going or gone
        }
        work();
        std::lock_guard held(gate->mutex);
        gate->taken = true;
        gate->changed.notify_all();
    });
    gate->changed.wait(lock, [&] { return gate->taken || gate->cancelled; });
}

void CleanerSession::finishBuild() {
    isBuilding_ = false;
    isDone_ = true;
    if (events_.buildDone)
        events_.buildDone();
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

bool CleanerSession::checkItem(const std::string& nameText, CheckState sender) {
    if (!openCategory())
        return false;
    return sentravex::checkItem(categories_[static_cast<std::size_t>(openRow_)], nameText, sender)
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
