// The window's states: first load, the result box's look, its re-application on resize, the
// two sides and the threat table's data source.
#include "AlertService.h"
#include "AppDelegate.h"
#include "QtColor.h"
#include "ThreatTableModel.h"
#include "ViewController.h"
#include "ui_ViewController.h"
#include "view/ThreatTable.h"
#include "view/WindowAlerts.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QPixmap>
#include <cstring>
#include <iostream>

namespace sentravex {

void ViewController::viewDidLoad() {
    ui_->innerDefaultBox->setFillColor(toQColor(colors::alertRed));
    isScanning_ = false;
    ui_->btnShowInFinder->setEnabled(false);
    ui_->btnReset->setEnabled(false);
    ui_->btnRescan->setEnabled(false);
    clock_.reset();

    ui_->mainBox->setHidden(false);
    ui_->toolsBox->setHidden(true);
    ui_->defaultBox->setHidden(false);
    ui_->threatBox->setHidden(true);
    ui_->completionBox->setHidden(true);
    ui_->scanArea->setHidden(true); // under the start screen; shown with it hidden (eventFilter)
    ui_->btnQuorvaneRemoval->setChecked(true);

    auto* header = ui_->tblThreatInfo->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStretchLastSection(false);
    // A long name or path keeps both ends in sight; its tooltip has it whole.
    ui_->tblThreatInfo->setTextElideMode(Qt::ElideMiddle);
    ui_->btnShowDetails->setHidden(true);

    ui_->lblScanTarget->setText(
        tr("Looks on the Mac at %1 for the account %2")
            .arg(QString::fromStdString(options_.root), QString::fromStdString(options_.user)));

    // Every window's resize, as the resize notification reaches the controller from any window.
    qApp->installEventFilter(this);
}

bool ViewController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow())
        screenResize();
    // The start screen lies over the scan's page: what it covers is out of Tab's reach too.
    if (watched == ui_->defaultBox &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        ui_->scanArea->setHidden(event->type() == QEvent::ShowToParent);
    if (event->type() == QEvent::Resize && watched == ui_->tblThreatInfo->viewport()) {
        const auto widths = threatColumnWidths(ui_->tblThreatInfo->viewport()->width());
        auto* header = ui_->tblThreatInfo->horizontalHeader();
        header->resizeSection(0, widths.name);
        header->resizeSection(1, widths.action);
        header->resizeSection(2, widths.path);
    }
    return QWidget::eventFilter(watched, event);
}

void ViewController::applyResultPanel(const ResultPanel& panel, PanelParts parts) {
    if (parts.color)
        ui_->completionBox->setFillColor(toQColor(panel.color));
    if (parts.text)
        ui_->scanQuorvaneInfo->setText(QString::fromStdString(panel.text));
    if (parts.image)
        ui_->imgIndicator->setPixmap(QPixmap(":/images/" + QString::fromStdString(panel.image)));
    if (parts.buttonTitle)
        ui_->btnCleanAll->setText(QString::fromStdString(panel.buttonTitle));
}

void ViewController::screenResize() {
    const auto listed = scanner_.arrQuorvaneList().size();
    const bool removed = remover_->isQurantinePressed();
    applyResultPanel(removed ? remover_->resultPanel(listed) : resultPanelAfterScan(listed),
                     partsReappliedOnResize(removed));
}

void ViewController::showToolsView() {
    ui_->toolsBox->setHidden(false);
    ui_->mainBox->setHidden(true);
    ui_->btnTools->setChecked(true);
    ui_->btnQuorvaneRemoval->setChecked(false);
    ui_->selectionView->setHidden(true);
    resetAndAddavailbleApplications();
}

void ViewController::showMainView() {
    ui_->toolsBox->setHidden(true);
    ui_->mainBox->setHidden(false);
    ui_->btnTools->setChecked(false);
    ui_->btnQuorvaneRemoval->setChecked(true);
}

void ViewController::getHelp() {
    if (appDel_ && !appDel_->wantHelp())
        alerts_->beginSheetModalForWindow(helpNotOpenedAlert(appDel_->helpSite().toStdString()),
                                          window(), [](long) {});
}

int ViewController::numberOfRowsInTableView() const {
    return static_cast<int>(std::min(
        {arrQuorvaneName_.size(), arrQuorvanePath_.size(), arrQuorvaneActionTaken_.size()}));
}

QString ViewController::threatCellText(const char* columnIdentifier, int row) const {
    if (row < 0 || row >= numberOfRowsInTableView())
        return {};
    if (std::strcmp(columnIdentifier, "ThreatName") == 0)
        return arrQuorvaneName_[row];
    if (std::strcmp(columnIdentifier, "ActionPerformed") == 0)
        return arrQuorvaneActionTaken_[row];
    if (std::strcmp(columnIdentifier, "PathInfo") == 0)
        return arrQuorvanePath_[row];
    std::cerr << "ERROR" << std::endl;
    return {};
}

} // namespace sentravex
