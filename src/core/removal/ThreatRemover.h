#pragma once

#include "platform/Root.h"
#include "scan/Quorvane.h"
#include "view/FailureDetails.h"
#include "view/ResultPanel.h"

#include <string>
#include <vector>

namespace sentravex {

class FileSystem;
class Processes;
class ScriptRunner;

// The removal of the threats of a scan and the actions of the completion view that need no
// widget. Everything runs on the caller's (the main) thread and blocks it, authorisation
// dialogs included.
class ThreatRemover {
public:
    // What the main button did, told apart by its title.
    enum class CleanAllAction { Quit, Removal };

    // How the protected paths under a root other than "/" are deleted: in this process when it
    // runs as root, else by `helper` (the command-line program) run with administrator rights.
    struct Privileges {
        bool superuser = false;
        std::string helper;
    };
    // This process's privileges, with `helper` as the command-line program.
    static Privileges privilegesOf(const std::string& helper);

    ThreatRemover(const FileSystem& fs, Root root, ScriptRunner& runner, const Processes& processes,
                  Privileges privileges)
        : fs_(fs), root_(std::move(root)), runner_(runner), processes_(processes),
          privileges_(std::move(privileges)) {}

    // The main button: "Quit" asks the caller to close the window and end the application and
    // does nothing else; any other title runs the removal over the list.
    CleanAllAction cleanAllThreats(const std::string& buttonTitle,
                                   const std::vector<QuorvanePtr>& arrQuorvaneList);

    // Treats every record in order and returns what the result box then shows.
    ResultPanel removeThisMalware(const std::vector<QuorvanePtr>& list);

    // Asks a running Quorvane to quit; the request would start one that is not running.
    void closeQuorvaneApp();
    void DeleteQuorvaneApp();
    void RestatSystem();

    // The restart sheet follows a run that removed everything, and only for the disk this
    // machine runs from: a mounted volume is never a reason to reboot this machine.
    bool restartOffered() const { return root_.isSystemRoot(); }
    bool restartSheetWanted() const;
    // The sheet's answer: its first button restarts, anything else does nothing.
    void restartAlertDidEnd(long response);

    // A scan starting clears the removal flag, so the result box takes scan texts again.
    void scanStarted() { isQurantinePressed_ = false; }

    bool isPassCorrect() const { return isPassCorrect_; }
    bool isQurantinePressed() const { return isQurantinePressed_; }
    const std::vector<std::string>& arrQuorvaneActionTaken() const {
        return arrQuorvaneActionTaken_;
    }
    const std::vector<QuorvanePtr>& deletedQuorvane() const { return deletedQuorvane_; }
    const std::vector<QuorvanePtr>& unDeletedQuorvane() const { return unDeletedQuorvane_; }
    // The path of every record of the last run left "Not Removed", with the reason, in list
    // order.
    const std::vector<FailedPath>& notRemoved() const { return notRemoved_; }

    // The removal look of the result box for a list of `listed` records, as the window
    // re-applies it on resize.
    ResultPanel resultPanel(std::size_t listed) const;

private:
    void mark(const QuorvanePtr& record, bool removed, std::string reason = {});
    // Something is at the path, a link to nothing included.
    bool present(const std::string& path) const;

    const FileSystem& fs_;
    Root root_;
    ScriptRunner& runner_;
    const Processes& processes_;
    Privileges privileges_;

    bool isPassCorrect_ = false;
    bool isScriptCalled_ = false;
    bool isQurantinePressed_ = false;
    std::size_t lastListed_ = 0;
    std::vector<std::string> arrQuorvaneActionTaken_;
    std::vector<QuorvanePtr> deletedQuorvane_;
    std::vector<QuorvanePtr> unDeletedQuorvane_;
    std::vector<FailedPath> notRemoved_;
};

} // namespace sentravex
