// Folders are the work: each thread takes the next subfolder of the deepest folder that has one
// left, reads it, and offers its subfolders in turn. A folder is done, and its parent told, when
// the last of its subfolders is.
#include "EntryStatus.h"
#include "FolderReading.h"
#include "TreeWalk.h"
#include "UniqueFd.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace sentravex {
namespace {

// Below this depth a subtree goes to one thread, which keeps few folders open however deep.
constexpr std::size_t sharedDepth = 32;
constexpr unsigned mostThreads = 4;

struct Folder {
    std::shared_ptr<Folder> parent; // kept open while any folder beneath it is walked
    UniqueFd fd;
    std::string name; // in the parent
    std::size_t depth = 0;
    std::vector<std::string> subfolders; // not yet taken; guarded by the walk's mutex
    std::atomic<std::size_t> pending{1}; // its own reading and each subfolder not yet done
};
using FolderPtr = std::shared_ptr<Folder>;

class ParallelWalk {
public:
    ParallelWalk(const WalkHooks& hooks, unsigned threads, const EntryStatus& top)
        : hooks_(hooks), threads_(threads), top_(top) {
        // Asked by one thread at a time, and never again once it said to stop.
        if (hooks.keepWalking)
            hooks_.keepWalking = [this, ask = hooks.keepWalking] {
                std::lock_guard lock(askMutex_);
                if (!stopped() && !ask())
                    stopped_ = true;
                return !stopped();
            };
    }

    bool run(UniqueFd top) {
        auto folder = std::make_shared<Folder>();
        folder->fd = std::move(top);
        offer(folder);
        work();
        for (auto& helper : helpers_)
            helper.join();
        return ok_;
    }

private:
    bool stopped() const { return stopped_.load(std::memory_order_relaxed); }

    // Reads a folder and makes its subfolders work for whoever is free.
    void offer(const FolderPtr& folder) {
        bool stop = false;
        std::vector<std::string> subfolders;
        if (!readFolder(folder->fd.get(), hooks_, stop, subfolders))
            ok_ = false;
        if (stop)
            stopped_ = true;
        if (!subfolders.empty() && !stopped()) {
            folder->pending += subfolders.size();
            std::lock_guard lock(mutex_);
            folder->subfolders = std::move(subfolders);
            open_.push_back(folder);
            // Another thread is worth starting only when there is more than one folder to take.
            if (helpers_.size() + 1 < threads_ &&
                (open_.size() > 1 || folder->subfolders.size() > 1))
                helpers_.emplace_back([this] { work(); });
            changed_.notify_all();
        }
        finished(folder);
    }

    void work() {
        for (;;) {
            FolderPtr parent;
            std::string name;
            {
                std::unique_lock lock(mutex_);
                // Once stopped, the walk ends when nobody holds a folder any more.
                changed_.wait(lock,
                              [this] { return (!open_.empty() && !stopped()) || busy_ == 0; });
                if (open_.empty() || stopped()) {
                    changed_.notify_all();
                    return;
                }
                parent = open_.back();
                name = std::move(parent->subfolders.back());
                parent->subfolders.pop_back();
                if (parent->subfolders.empty())
                    open_.pop_back();
                ++busy_;
            }
            descend(parent, name);
            std::lock_guard lock(mutex_);
            --busy_;
            changed_.notify_all();
        }
    }

    void descend(const FolderPtr& parent, const std::string& name) {
        UniqueFd fd(::openat(parent->fd.get(), name.c_str(),
                             O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        EntryStatus status;
        if (!fd || !entryStatus(fd.get(), "", status)) {
            ok_ = false;
            if (!stopped() && hooks_.folderDone)
                hooks_.folderDone(parent->fd.get(), name.c_str());
            finished(parent);
            return;
        }
        if (beyondMount(top_, status)) {
            if (!stopped() && hooks_.otherFileSystem)
                hooks_.otherFileSystem(below(parent, name));
            finished(parent);
            return;
        }
        auto folder = std::make_shared<Folder>();
        folder->parent = parent;
        folder->fd = std::move(fd);
        folder->name = name;
        folder->depth = parent->depth + 1;
        if (folder->depth < sharedDepth) {
            offer(folder);
            return;
        }
        walkAlone(folder);
        finished(folder);
    }

    // A deep subtree on this thread alone, with the walk's hooks.
    void walkAlone(const FolderPtr& folder) {
        WalkHooks hooks = hooks_;
        if (hooks_.otherFileSystem) {
            const std::string here = below(folder->parent, folder->name) + "/";
            hooks.otherFileSystem = [this, here](const std::string& rest) {
                hooks_.otherFileSystem(here + rest);
            };
        }
        if (!walkTree(folder->fd.get(), hooks))
            ok_ = false;
    }

    // One piece of a folder's work is over; the folder itself once all are.
    void finished(FolderPtr folder) {
        while (folder && folder->pending.fetch_sub(1) == 1) {
            FolderPtr parent = folder->parent;
            folder->fd.reset();
            if (parent && !stopped() && hooks_.folderDone)
                hooks_.folderDone(parent->fd.get(), folder->name.c_str());
            folder = std::move(parent);
        }
    }

    static std::string below(const FolderPtr& parent, const std::string& name) {
        std::vector<const std::string*> names{&name};
        for (const Folder* f = parent.get(); f && f->parent; f = f->parent.get())
            names.push_back(&f->name);
        std::string path;
        for (auto it = names.rbegin(); it != names.rend(); ++it)
            path.append(path.empty() ? "" : "/").append(**it);
        return path;
    }

    WalkHooks hooks_;
    const unsigned threads_;
    const EntryStatus top_;
    std::atomic<bool> stopped_{false};
    std::atomic<bool> ok_{true};
    std::mutex askMutex_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<FolderPtr> open_; // folders with subfolders left, the deepest last
    std::size_t busy_ = 0;        // threads walking a folder they took
    std::vector<std::thread> helpers_;
};

} // namespace

unsigned walkThreads() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, mostThreads);
}

bool walkTreeInParallel(int folderFd, const WalkHooks& hooks, unsigned threads) {
    UniqueFd top(::dup(folderFd));
    EntryStatus status;
    if (!top || !entryStatus(top.get(), "", status))
        return false;
    return ParallelWalk(hooks, std::max(threads, 1u), status).run(std::move(top));
}

} // namespace sentravex
