#include "ThreatRemover.h"

#include "PrivilegedPaths.h"
#include "ProtectedDeletion.h"
#include "QuorvaneScripts.h"
#include "RestartSheet.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/ScriptRunner.h"
#include "scan/ActionText.h"

#include <algorithm>
#include <unistd.h>

namespace sentravex {
namespace {

constexpr const char* privilegedRefused = "the administrator command was refused or failed";

bool onPrivilegedRouteAfterApplication(const std::string& path) {
    return std::find(privilegedPaths.begin() + 1, privilegedPaths.end(), path) !=
           privilegedPaths.end();
}

} // namespace

ThreatRemover::CleanAllAction
ThreatRemover::cleanAllThreats(const std::string& buttonTitle,
                               const std::vector<QuorvanePtr>& arrQuorvaneList) {
    if (buttonTitle == "Quit")
        return CleanAllAction::Quit;
    removeThisMalware(arrQuorvaneList);
    return CleanAllAction::Removal;
}

ThreatRemover::Privileges ThreatRemover::privilegesOf(const std::string& helper) {
    return {::geteuid() == 0, helper};
}

void ThreatRemover::closeQuorvaneApp() {
    if (processes_.isRunning(quorvaneApplicationName))
        runner_.run(scripts::closeQuorvaneApp());
}

void ThreatRemover::DeleteQuorvaneApp() {
    if (root_.isSystemRoot())
        isPassCorrect_ = runner_.run(scripts::DeleteQuorvaneApp());
    else if (privileges_.superuser)
        isPassCorrect_ = removeProtectedPaths(fs_).empty();
    else if (const auto script = scripts::DeleteQuorvaneAppUnder(privileges_.helper, root_))
        isPassCorrect_ = !privileges_.helper.empty() && runner_.run(*script);
    else
        isPassCorrect_ = false;
}

bool ThreatRemover::present(const std::string& path) const {
    return fs_.exists(path) || fs_.isLink(path);
}

void ThreatRemover::RestatSystem() {
    runner_.run(scripts::RestatSystem());
}

void ThreatRemover::mark(const QuorvanePtr& record, bool removed, std::string reason) {
    record->setIsDeleted(removed);
    (removed ? deletedQuorvane_ : unDeletedQuorvane_).push_back(record);
    arrQuorvaneActionTaken_.emplace_back(removed ? removedText : notRemovedText);
    if (!removed)
        notRemoved_.push_back({record->url(), reason.empty() ? "still there" : std::move(reason)});
}

ResultPanel ThreatRemover::removeThisMalware(const std::vector<QuorvanePtr>& list) {
    isQurantinePressed_ = true;
    arrQuorvaneActionTaken_.clear();
    deletedQuorvane_.clear();
    unDeletedQuorvane_.clear();
    notRemoved_.clear();
    isScriptCalled_ = false;
    lastListed_ = list.size();

    for (const auto& record : list) {
        record->setIsNoAction(false);
        const std::string& path = record->url();
        // A row reads "Removed" only when nothing is left at its path.
        auto settle = [&](bool succeeded, const std::string& reason) {
            mark(record, succeeded && !present(path), succeeded ? std::string() : reason);
        };
        if (!present(path)) {
            mark(record, true);
        } else if (path == privilegedPaths.front()) {
            isScriptCalled_ = true;
            closeQuorvaneApp();
            DeleteQuorvaneApp();
            settle(isPassCorrect_, privilegedRefused);
        } else if (onPrivilegedRouteAfterApplication(path)) {
            // One authorisation per run: a later protected path reuses its outcome.
            if (!isScriptCalled_) {
                DeleteQuorvaneApp();
                isScriptCalled_ = true;
            }
            settle(isPassCorrect_, privilegedRefused);
        } else {
            const auto result = fs_.removeItem(path);
            settle(result.ok(), result.error);
        }
    }
    return resultPanel(list.size());
}

ResultPanel ThreatRemover::resultPanel(std::size_t listed) const {
    return resultPanelAfterRemoval(listed, deletedQuorvane_.size(), unDeletedQuorvane_.size());
}

bool ThreatRemover::restartSheetWanted() const {
    return isQurantinePressed_ && deletedQuorvane_.size() == lastListed_ && restartOffered();
}

void ThreatRemover::restartAlertDidEnd(long response) {
    if (response == restartSheet::restartResponse && restartOffered())
        RestatSystem();
}

} // namespace sentravex
