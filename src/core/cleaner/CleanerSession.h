#pragma once

#include "Cleaner.h"
#include "CleanerCategory.h"
#include "StopFlag.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace sentravex {

class FileSystem;

// The cleaner as one window works it: the category list, the checks made on it, the category
// whose items are open, and the one build at a time that fills the list on a thread of its own.
// Every member is called on the owner's thread.
class CleanerSession {
public:
    // Called on the build thread: asks the owner's thread to call deliver() soon. It carries
    // nothing across itself (a queued call by name): what the build hands over waits in the
    // session, under the session's lock.
    using Wake = std::function<void()>;
    // What the owner hears of a build, on its own thread: a collector has handed on its category
    // (added to the list, or none where its application is absent); the build has ended.
    struct Events {
        std::function<void()> categoryHandedOn;
        std::function<void()> buildDone;
    };

    CleanerSession(const FileSystem& fs, std::string user, Wake wake, Events events);
    // Ends a running build at its next step and waits for its thread.
    ~CleanerSession();
    CleanerSession(const CleanerSession&) = delete;
    CleanerSession& operator=(const CleanerSession&) = delete;

    const Cleaner& cleaner() const { return cleaner_; }

    // A build starts when none runs and the list is not already complete.
    bool mayStartBuild() const { return !isBuilding_ && !isDone_; }
    // Empties the list, closes the open category and starts the build; false when refused.
    // Each collector's category joins the list on the owner's thread while the build waits.
    bool startBuild();
    bool isBuilding() const { return isBuilding_; }
    // The list is complete; the next build needs a clean first.
    bool isDone() const { return isDone_; }
    // Takes what the build has handed over, under the lock, and adds it to the list (or ends the
    // build), then lets the build go on; nothing when nothing waits.
    void deliver();

    const std::vector<CleanerCategory>& categories() const { return categories_; }
    // The category whose items are open; null while none is.
    const CleanerCategory* openCategory() const;
    int openRow() const { return openRow_; }

    // The check box rules applied to the list; a row out of range changes nothing (false).
    bool checkCategory(int row, CheckState sender);
    // The item at `row` of the open category.
    bool checkItem(int row, CheckState sender);
    bool open(int row);
    // Closes the open category, which takes its state from its items.
    void close();

    // "Remove Selected" is usable once the build has ended and any category is on or mixed.
    bool removeEnabled() const;
    // A clean is refused while a build runs: the list is not complete.
    bool mayClean() const { return !isBuilding_; }
    // The checked items of the list as it is now, to clean on any thread.
    std::vector<CleanerCategory> selection() const { return categories_; }
    // After a clean the list is stale: the next build may start.
    void listCleaned() { isDone_ = false; }

private:
    struct Gate;
    void build(const std::shared_ptr<Gate>& gate) const;
    void stopBuild();

    StopFlag stop_; // asked for only when the session goes: builds end there
    Cleaner cleaner_;
    Wake wake_;
    Events events_;
    std::vector<CleanerCategory> categories_;
    int openRow_ = -1;
    bool isBuilding_ = false;
    bool isDone_ = false;
    std::shared_ptr<Gate> gate_;
    std::thread thread_;
};

} // namespace sentravex
