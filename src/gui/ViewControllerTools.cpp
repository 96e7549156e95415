// The tools side: building the cleaner's category list off the main thread, the category and
// detail tables with their check boxes, and the clean.
#include "AlertService.h"
#include "AppDelegate.h"
#include "CheckBox.h"
#include "CleanProgressDialog.h"
#include "ElidedLabel.h"
#include "IconImage.h"
#include "PlainText.h"
#include "SelectionView.h"
#include "ToolsCell.h"
#include "ToolsSelectionCell.h"
#include "ViewController.h"
#include "cleaner/CategoryIcon.h"
#include "cleaner/CleanAlert.h"
#include "cleaner/CleanProgressText.h"
#include "cleaner/DetailsLine.h"
#include "ui_ViewController.h"
#include "view/TableHeights.h"
#include "view/UnreadablePlaces.h"

#include <QApplication>
#include <QEventLoop>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QtMath>
#include <atomic>
#include <iostream>

namespace sentravex {

namespace {

constexpr int toolsTableTag = 1;
constexpr int selectionTableTag = 2;
constexpr int categoryIconSide = 40;

} // namespace

void ViewController::setUpTools() {
    cleaner_ = std::make_unique<CleanerSession>(
        options_.services.files ? *options_.services.files : static_cast<const FileSystem&>(fs_),
        options_.user,
        // By name: the queued call is made and freed inside the toolkit alone, and what it
        // brings waits in the session under the session's lock.
        [this] { QMetaObject::invokeMethod(this, "deliverCleanerHandOff", Qt::QueuedConnection); },
        CleanerSession::Events{[this] { setHeightDetails(); }, [this] { BGscanDone(); }});
    ui_->toolsTable->setProperty("tag", toolsTableTag);
    ui_->selectionTable->setProperty("tag", selectionTableTag);
    ui_->selectionView->table = ui_->selectionTable;
    ui_->selectionView->setFocusPolicy(Qt::ClickFocus);
    ui_->selectionView->setHidden(true);
    ui_->scannignIndicator->setHidden(true);
    connect(ui_->removeButton, &QPushButton::clicked, this, &ViewController::cleanAndReloadData);
    connect(ui_->btnSelectionDone, &QPushButton::clicked, this,
            &ViewController::doneActionFromselectionView);
    // The overlay closes as its button does, from the keyboard too. A shortcut of a hidden
    // widget never fires, so these act only while the overlay is open.
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)})
        connect(new QShortcut(key, ui_->selectionView), &QShortcut::activated, this,
                &ViewController::doneActionFromselectionView);
    setHeightDetails();
}

void ViewController::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ui_->selectionView->setGeometry(rect());
}

// While the overlay is open Tab goes round its own controls only: nothing beneath it can be
// reached, as nothing beneath it can be clicked.
bool ViewController::focusNextPrevChild(bool next) {
    if (ui_->selectionView->isHidden())
        return QWidget::focusNextPrevChild(next);
    QList<QWidget*> chain;
    for (auto* w : ui_->selectionView->findChildren<QWidget*>())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(ui_->selectionView) &&
            w->isEnabled())
            chain.push_back(w);
    if (chain.isEmpty())
        return true;
    // In the order Tab would visit them, whatever order they were made in.
    QList<QWidget*> ordered;
    for (QWidget* w = chain.front()->nextInFocusChain(); ordered.size() < chain.size();
         w = w->nextInFocusChain())
        if (chain.contains(w))
            ordered.push_back(w);
    const auto at = ordered.indexOf(QApplication::focusWidget());
    const auto n = ordered.size();
    ordered[at < 0 ? 0 : (at + (next ? 1 : n - 1)) % n]->setFocus(next ? Qt::TabFocusReason
                                                                       : Qt::BacktabFocusReason);
    return true;
}

void ViewController::resetAndAddavailbleApplications() {
    if (!cleaner_->mayStartBuild() || !rootIsMacDisk() || !cleaner_->startBuild())
        return;
    ui_->scannignIndicator->setHidden(false);
    setHeightDetails();
    emit cleanerBuildStarted();
}

void ViewController::BGscanDone() {
    ui_->scannignIndicator->setHidden(true);
    reloadTableAndUI(); // the remove button waits for the build's end
    emit cleanerBuildDone();
}

void ViewController::cleanAndReloadData() {
    if (!cleaner_->mayClean() || !goOnWithoutFullDiskAccess())
        return;
    auto categories = cleaner_->selection();
    std::vector<RunningOwner> stillRunning;
    if (!settleRunningOwners(categories, stillRunning))
        return;
    cleanSelected(categories, stillRunning);
    cleaner_->listCleaned();
    resetAndAddavailbleApplications();
}

void ViewController::cleanSelected(const std::vector<CleanerCategory>& categories,
                                   const std::vector<RunningOwner>& stillRunning) {
    // A large cache folder takes a while: the deletion runs beside the event loop, behind a modal
    // dialog that counts what is gone and can stop it while the window keeps painting. The
    // deleting thread only stores its count; the dialog reads it a few times a second.
    struct Shared {
        std::atomic<std::uint64_t> entries{0};
        std::atomic<std::int64_t> bytes{0};
        std::atomic<bool> stop{false};
    } shared;
    CleanProgressDialog progress(window());
    progress.setWindowModality(Qt::ApplicationModal);
    auto showTally = [this, &progress, &shared] {
        const CleanTally tally{shared.entries.load(), shared.bytes.load()};
        progress.setText(QString::fromStdString(cleanProgressText(tally, shared.stop.load())));
        emit cleanProgressShown(tally.entries);
    };
    connect(&progress, &CleanProgressDialog::cancelRequested, this, [&shared, showTally] {
        shared.stop = true;
        showTally();
    });
    QTimer ticker;
    ticker.setInterval(50);
    connect(&ticker, &QTimer::timeout, this, showTally);
    showTally();
    progress.show();
    ticker.start();

    QEventLoop loop;
    CleanReport report;
    std::thread worker([&report, &loop, &shared, &cleaner = cleaner_->cleaner(), &categories] {
        report =
            cleaner.cleanSelected(categories, /*apply*/ true, [&shared](const CleanTally& tally) {
                shared.entries = tally.entries;
                shared.bytes = tally.bytes;
                return !shared.stop;
            });
        // By name: the queued call is then made and freed inside the toolkit alone.
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    loop.exec(); // the dialog is modal: the window beneath takes no input meanwhile
    worker.join();
    ticker.stop();
    progress.hide();

    AppDelegate::createAlertForInformativeText(
        QString::fromStdString(cleanAlertText(report, stillRunning)),
        QString::fromLatin1(cleanAlertMessage), false, window(), alerts_,
        QString::fromStdString(cleanAlertDetails(report)));
}

void ViewController::setHeightDetails() {
    const auto m = availbleApp().size();
    ui_->toolsTable->setHidden(categoryTableHidden(m));
    ui_->toolsTable->setMinimumHeight(categoryTableMinimumHeight(m));
    ui_->toolsTable->setMaximumHeight(categoryTableHeight(m));
    reloadTableAndUI();
}

void ViewController::reloadTableAndUI() {
    reloadData(toolsTableTag);
    ui_->removeButton->setEnabled(cleaner_->removeEnabled());
}

int ViewController::numberOfRowsInTableView(int tag) const {
    switch (tag) {
    case 0:
        return numberOfRowsInTableView();
    case toolsTableTag:
        return static_cast<int>(availbleApp().size());
    case selectionTableTag:
        return toolsSelectedDic() ? static_cast<int>(toolsSelectedDic()->List.size()) : 0;
    default:
        return 0;
    }
}

void ViewController::reloadData(int tag) {
    auto* table = tag == toolsTableTag ? ui_->toolsTable : ui_->selectionTable;
    const int rows = numberOfRowsInTableView(tag);
    table->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        QWidget* cell = viewForTableColumn(tag, row);
        if (table->cellWidget(row, 0) != cell)
            table->setCellWidget(row, 0, cell);
    }
}

QIcon ViewController::categoryIcon(const CleanerCategory& category) {
    auto cached = icons_.find(category.Img);
    if (cached != icons_.end())
        return cached->second;
    const int side = qCeil(categoryIconSide * devicePixelRatioF());
    const auto source = iconForCategory(cleaner_->cleaner().fileSystem(), category, side);
    QIcon icon;
    if (QPixmap image = source.image ? iconPixmap(*source.image, side) : QPixmap(); !image.isNull())
        icon = QIcon(image);
    else if (source.fallback == CategoryIcon::Fallback::FolderIcon)
        icon = QIcon::fromTheme(QStringLiteral("system-file-manager"),
                                style()->standardIcon(QStyle::SP_DirIcon));
    else
        icon = QIcon(
            QStringLiteral(":/images/%1.png").arg(QString::fromStdString(source.programImage)));
    icons_.emplace(category.Img, icon);
    return icon;
}

QWidget* ViewController::viewForTableColumn(int tag, int row) {
    if (tag == toolsTableTag) {
        auto* cell = qobject_cast<ToolsCell*>(ui_->toolsTable->cellWidget(row, 0));
        if (!cell) {
            cell = new ToolsCell;
            connect(cell->checkBox, &QCheckBox::clicked, this, [this, cell] {
                checkBoxAction(cell->checkBox->property("tag").toInt(), cell->checkBox->state());
            });
            connect(cell->detailsButton, &QPushButton::clicked, this,
                    [this, cell] { showDetailsFor(cell->detailsButton->property("tag").toInt()); });
        }
        const auto& k = availbleApp()[static_cast<std::size_t>(row)];
        cell->nameText->setFullText(QString::fromStdString(k.Name));
        cell->sizeText->setText(QString::fromStdString(sizeTextWithAccess(k.Size, k.unreadable)));
        cell->sizeText->setToolTip(
            plainToolTip(QString::fromStdString(unreadableTip(k.unreadable))));
        cell->detailsText->setFullText(QString::fromStdString(detailsLineOf(k)));
        cell->imageIcon->setPixmap(categoryIcon(k).pixmap(categoryIconSide, categoryIconSide));
        cell->detailsButton->setProperty("tag", row);
        cell->checkBox->setProperty("tag", row);
        cell->checkBox->setState(k.isChecked);
        cell->detailsButton->setEnabled(k.isEnabled);
        cell->checkBox->setEnabled(k.isEnabled);
        return cell;
    }
    if (tag == selectionTableTag && toolsSelectedDic()) {
        auto* cell = qobject_cast<ToolsSelectionCell*>(ui_->selectionTable->cellWidget(row, 0));
        if (!cell) {
            cell = new ToolsSelectionCell;
            connect(cell->checkBox, &QCheckBox::clicked, this, [this, cell] {
                selectionCheckBoxAction(cell->checkBox->property("tag").toInt(),
                                        cell->checkBox->state());
            });
        }
        const auto& t = toolsSelectedDic()->List[static_cast<std::size_t>(row)];
        cell->setBandShown(!t.isHeader);
        cell->checkBox->setProperty("tag", row);
        cell->checkBox->setEnabled(t.isEnabled.value_or(false));
        cell->checkBox->setState(t.isChecked);
        cell->checkBox->setToolTip(plainToolTip(QString::fromStdString(t.NameText)));
        QFont font = cell->nameText->font();
        font.setBold(!t.isHeader);
        cell->nameText->setFont(font);
        cell->nameText->setFullText(QString::fromStdString(t.NameText));
        cell->sizeText->setText(
            QString::fromStdString(sizeTextWithAccess(t.sizeText, t.unreadable)));
        cell->sizeText->setToolTip(
            plainToolTip(QString::fromStdString(unreadableTip(t.unreadable))));
        return cell;
    }
    std::cerr << "ERROR" << std::endl;
    return nullptr;
}

void ViewController::checkBoxAction(int row, CheckState sender) {
    if (cleaner_->checkCategory(row, sender))
        reloadTableAndUI();
}

void ViewController::showDetailsFor(int row) {
    if (!cleaner_->open(row))
        return;
    ui_->selectionView->setGeometry(rect());
    ui_->selectionView->setHidden(false);
    ui_->selectionView->raise();
    const auto& category = *toolsSelectedDic();
    const bool grouped = category.isFromAdware;
    ui_->lblSelectionTitle->setText(QString::fromStdString(category.Name));
    ui_->selectionTable->verticalHeader()->setDefaultSectionSize(selectionRowHeight(grouped));
    ui_->selectionTable->setAlternatingRowColors(!grouped);
    ui_->selectionTable->setRowCount(0); // the last category's cells do not carry over
    reloadData(selectionTableTag);
    ui_->selectionTable->setFixedHeight(selectionTableHeight(category.List.size(), grouped));
    // Each category opens on its first rows, wherever the last one was left.
    ui_->selectionTable->scrollToTop();
    // The keyboard leaves whatever it was on beneath; Tab goes on from here inside.
    ui_->selectionView->setFocus();
}

void ViewController::selectionCheckBoxAction(int row, CheckState sender) {
    if (!toolsSelectedDic())
        return;
    cleaner_->checkItem(row, sender);
    reloadData(selectionTableTag);
}

void ViewController::doneActionFromselectionView() {
    ui_->selectionView->setHidden(true);
    setFocus();
    cleaner_->close();
    reloadTableAndUI();
}

} // namespace sentravex
