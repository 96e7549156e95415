// The removal and the completion view's actions: quarantine or quit, the restart sheet, show in
// the file viewer, rescan, reset, and the threat table's selection.
#include "AlertService.h"
#include "ThreatTableModel.h"
#include "ViewController.h"
#include "platform/Workspace.h"
#include "removal/CompletionActions.h"
#include "removal/RestartSheet.h"
#include "ui_ViewController.h"
#include "view/ThreatSelection.h"
#include "view/ThreatTable.h"
#include "view/WindowAlerts.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QTimer>
#include <iostream>

namespace sentravex {

void ViewController::cleanAllThreats() {
    const auto list = scanner_.arrQuorvaneList();
    if (remover_->cleanAllThreats(ui_->btnCleanAll->text().toStdString(), list) ==
        ThreatRemover::CleanAllAction::Quit) {
        window()->close();
        QTimer::singleShot(0, qApp, [] { QApplication::quit(); });
        return;
    }
    removalDone(list.size());
}

void ViewController::removeThisMalware(const std::vector<QuorvanePtr>& list) {
    remover_->removeThisMalware(list);
    removalDone(list.size());
}

void ViewController::removalDone(std::size_t listed) {
    applyResultPanel(remover_->resultPanel(listed), PanelParts{});

    if (remover_->restartSheetWanted()) {
        const AlertMessage sheet{
            std::string(restartSheet::message),
            {},
            {std::string(restartSheet::restartButton), std::string(restartSheet::noButton)}};
        alerts_->beginSheetModalForWindow(sheet, window(), [this](long response) {
            std::cerr << response << std::endl;
            remover_->restartAlertDidEnd(response);
        });
    }

    arrQuorvaneActionTaken_.clear();
    for (const auto& action : remover_->arrQuorvaneActionTaken())
        arrQuorvaneActionTaken_.append(QString::fromStdString(action));
    // The rows stay the same: the selected one stays selected, and its button follows its
    // record's new state.
    auto* selection = ui_->tblThreatInfo->selectionModel();
    const auto selected = selection->selectedRows();
    const int row = selected.isEmpty() ? -1 : selected.front().row();
    threatModel_->reloadData();
    if (row >= 0)
        selection->select(threatModel_->index(row, 0),
                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (const int left = firstNotRemovedRow(remover_->arrQuorvaneActionTaken()); left >= 0)
        ui_->tblThreatInfo->scrollTo(threatModel_->index(left, 0));
    ui_->btnShowDetails->setHidden(remover_->notRemoved().empty());
}

void ViewController::showNotRemovedDetails() {
    if (!remover_->notRemoved().empty())
        alerts_->beginSheetModalForWindow(notRemovedAlert(remover_->notRemoved()), window(),
                                          [](long) {});
}

void ViewController::showInFinder() {
    const auto target = showInFinderTarget(fs_.root(), quorvaneFile_);
    if (target && !workspace_->selectFile(*target))
        alerts_->beginSheetModalForWindow(folderNotShownAlert(*target), window(), [](long) {});
}

void ViewController::resetApp() {
    sentravex::resetApp(scanner_, clock_.countDown, clock_.countdownCounterMinutes);
    ui_->btnShowInFinder->setEnabled(false);
    ui_->btnShowDetails->setHidden(true);
    ui_->btnReset->setEnabled(false);
    delete countdownTimer_;
    countdownTimer_ = nullptr;
    arrQuorvaneName_.clear();
    arrThreats_.clear();
    arrQuorvanePath_.clear();
    ui_->defaultBox->setHidden(false);
    ui_->threatBox->setHidden(true);
    ui_->completionBox->setHidden(true);
    threatModel_->reloadData();
}

void ViewController::tableViewSelectionDidChange() {
    const auto selected = ui_->tblThreatInfo->selectionModel()->selectedRows();
    const auto list = scanner_.arrQuorvaneList();
    long row = -1;
    if (!selected.isEmpty()) {
        row = selected.front().row();
        if (static_cast<std::size_t>(row) < list.size())
            quorvaneFile_ = list[static_cast<std::size_t>(row)];
    }
    ui_->btnShowInFinder->setEnabled(btnShowInFinderEnabled(list, row));
}

} // namespace sentravex
