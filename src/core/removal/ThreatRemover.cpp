#include "ThreatRemover.h"

#include "PrivilegedPaths.h"
#include "QuorvaneScripts.h"
#include "RestartSheet.h"
#include "platform/FileSystem.h"
#include "platform/ScriptRunner.h"

#include <algorithm>

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

void ThreatRemover::closeQuorvaneApp() {
    runner_.run(scripts::closeQuorvaneApp());
}

void ThreatRemover::DeleteQuorvaneApp() {
    isPassCorrect_ = runner_.run(scripts::DeleteQuorvaneApp(root_));
}

void ThreatRemover::RestatSystem() {
    runner_.run(scripts::RestatSystem());
}

void ThreatRemover::mark(const QuorvanePtr& record, bool removed, std::string reason) {
    record->setIsDeleted(removed);
    (removed ? deletedQuorvane_ : unDeletedQuorvane_).push_back(record);
    arrQuorvaneActionTaken_.emplace_back(removed ? "Removed" : "Not Removed");
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
        if (!fs_.exists(path)) {
            mark(record, true);
        } else if (path == privilegedPaths.front()) {
            isScriptCalled_ = true;
            closeQuorvaneApp();
            DeleteQuorvaneApp();
            mark(record, isPassCorrect_, privilegedRefused);
        } else if (onPrivilegedRouteAfterApplication(path)) {
            // One authorisation per run: a later protected path reuses its outcome.
            if (!isScriptCalled_) {
                DeleteQuorvaneApp();
                isScriptCalled_ = true;
            }
            mark(record, isPassCorrect_, privilegedRefused);
        } else {
            const auto result = fs_.removeItem(path);
            mark(record, result.ok(), result.error);
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
