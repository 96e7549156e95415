// The tools side: building the cleaner's category list off the main thread, the category and
// detail tables with their check boxes, and the clean.
#include "AlertService.h"
#include "AppDelegate.h"
#include "CheckBox.h"
#include "CleanProgressDialog.h"
#include "ElidedLabel.h"
#include "IconImage.h"
#include "SelectionView.h"
#include "ToolsCell.h"
#include "ToolsSelectionCell.h"
#include "ViewController.h"
#include "cleaner/CategoryIcon.h"
#include "cleaner/CheckBoxRules.h"
#include "ui_ViewController.h"
#include "view/CleanAlert.h"
#include "view/CleanProgressText.h"
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
#include <condition_variable>
#include <iostream>
#include <mutex>

namespace sentravex {

// Lets a build thread wait for the main thread, and the window end that wait when it closes.
struct BuildGate {
    std::mutex mutex;
    std::condition_variable changed;
    bool cancelled = false;
};

namespace {

constexpr int toolsTableTag = 1;
constexpr int selectionTableTag = 2;
constexpr int categoryIconSide = 40;

constexpr const char* chromeDetailsLine = "Cookies, Visited Links, History, Login Data, "
                                          "LastSession, User preferences, Favicons, Top Sites, "
                                          "Local Storage";
constexpr const char* extensionsDetailsLine = "Browser extensions, Preferences";

QString detailsLineOf(const CleanerCategory& category) {
    if (category.Name == "Chrome")
        return QString::fromLatin1(chromeDetailsLine);
    if (category.Name == "Browser Extensions")
        return QString::fromLatin1(extensionsDetailsLine);
    QStringList names;
    for (const auto& item : category.List)
        names << QString::fromStdString(item.NameText);
    return names.join(QStringLiteral(", "));
}

// Runs `work` on the main thread and waits until it has run, or until the window gives up on
// the build.
void onMainThreadAndWait(QObject* context, const std::shared_ptr<BuildGate>& gate,
                         std::function<void()> work) {
    auto done = std::make_shared<bool>(false);
    std::unique_lock lock(gate->mutex);
    // Posted under the lock: once the window has given up, nothing more reaches it.
    if (gate->cancelled)
        return;
    QMetaObject::invokeMethod(
        context,
        [gate, done, work = std::move(work)] {
            work();
            std::lock_guard held(gate->mutex);
            *done = true;
            gate->changed.notify_all();
        },
        Qt::QueuedConnection);
    gate->changed.wait(lock, [&] { return *done || gate->cancelled; });
}

} // namespace

void ViewController::setUpTools() {
    cleaner_ = std::make_unique<Cleaner>(
        options_.services.files ? *options_.services.files : static_cast<const FileSystem&>(fs_),
        options_.user, /*sizing*/ true, &buildStop_);
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

void ViewController::stopBuild() {
    buildStop_.request();
    if (buildGate_) {
        std::lock_guard lock(buildGate_->mutex);
        buildGate_->cancelled = true;
        buildGate_->changed.notify_all();
    }
    if (buildThread_.joinable())
        buildThread_.join();
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
    if (scanningDone_ || isScanRunningForDetails_)
        return;
    ui_->scannignIndicator->setHidden(false);
    availbleApp_.clear();
    toolsSelectedRow_ = -1;
    isScanRunningForDetails_ = true;
    scanningDone_ = false;
    setHeightDetails();
    // The last build has handed over its end and is returning.
    if (buildThread_.joinable())
        buildThread_.join();
    buildGate_ = std::make_shared<BuildGate>();
    buildThread_ = std::thread([this, gate = buildGate_] { scanInBG(gate); });
    reloadData(toolsTableTag);
    emit cleanerBuildStarted();
}

void ViewController::scanInBG(const std::shared_ptr<BuildGate>& gate) {
    cleaner_->scanInBG([this, &gate](std::optional<CleanerCategory> found) {
        auto category = std::make_shared<std::optional<CleanerCategory>>(std::move(found));
        onMainThreadAndWait(this, gate, [this, category] {
            if (*category)
                availbleApp_.push_back(std::move(**category));
            setHeightDetails();
        });
    });
    onMainThreadAndWait(this, gate, [this] { BGscanDone(); });
}

void ViewController::BGscanDone() {
    ui_->scannignIndicator->setHidden(true);
    isScanRunningForDetails_ = false;
    scanningDone_ = true;
    reloadTableAndUI(); // the remove button waits for the build's end
    emit cleanerBuildDone();
}

void ViewController::cleanAndReloadData() {
    if (isScanRunningForDetails_ || !goOnWithoutFullDiskAccess())
        return;
    cleanSelected();
    isScanRunningForDetails_ = false;
    scanningDone_ = false;
    resetAndAddavailbleApplications();
}

void ViewController::cleanSelected() {
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
    std::thread worker([this, &report, &loop, &shared, categories = availbleApp_] {
        report =
            cleaner_->cleanSelected(categories, /*apply*/ true, [&shared](const CleanTally& tally) {
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
        QString::fromStdString(cleanAlertText(report)), QString::fromLatin1(cleanAlertMessage),
        false, window(), alerts_, QString::fromStdString(cleanAlertDetails(report)));
}

void ViewController::setHeightDetails() {
    const auto m = availbleApp_.size();
    ui_->toolsTable->setHidden(categoryTableHidden(m));
    ui_->toolsTable->setMinimumHeight(categoryTableMinimumHeight(m));
    ui_->toolsTable->setMaximumHeight(categoryTableHeight(m));
    reloadTableAndUI();
}

void ViewController::reloadTableAndUI() {
    reloadData(toolsTableTag);
    ui_->removeButton->setEnabled(!isScanRunningForDetails_ && removeButtonEnabled(availbleApp_));
}

const CleanerCategory* ViewController::toolsSelectedDic() const {
    if (toolsSelectedRow_ < 0 || toolsSelectedRow_ >= static_cast<int>(availbleApp_.size()))
        return nullptr;
    return &availbleApp_[static_cast<std::size_t>(toolsSelectedRow_)];
}

int ViewController::numberOfRowsInTableView(int tag) const {
    switch (tag) {
    case 0:
        return numberOfRowsInTableView();
    case toolsTableTag:
        return static_cast<int>(availbleApp_.size());
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
    const auto source = iconForCategory(cleaner_->fileSystem(), category, side);
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
        const auto& k = availbleApp_[static_cast<std::size_t>(row)];
        cell->nameText->setFullText(QString::fromStdString(k.Name));
        cell->sizeText->setText(QString::fromStdString(sizeTextWithAccess(k.Size, k.unreadable)));
        cell->sizeText->setToolTip(QString::fromStdString(unreadableTip(k.unreadable)));
        cell->detailsText->setFullText(detailsLineOf(k));
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
                selectionCheckBoxAction(cell->checkBox->toolTip(), cell->checkBox->state());
            });
        }
        const auto& t = toolsSelectedDic()->List[static_cast<std::size_t>(row)];
        cell->setBandShown(!t.isHeader);
        cell->checkBox->setEnabled(t.isEnabled.value_or(false));
        cell->checkBox->setState(t.isChecked);
        cell->checkBox->setToolTip(QString::fromStdString(t.NameText));
        QFont font = cell->nameText->font();
        font.setBold(!t.isHeader);
        cell->nameText->setFont(font);
        cell->nameText->setFullText(QString::fromStdString(t.NameText));
        cell->sizeText->setText(
            QString::fromStdString(sizeTextWithAccess(t.sizeText, t.unreadable)));
        cell->sizeText->setToolTip(QString::fromStdString(unreadableTip(t.unreadable)));
        return cell;
    }
    std::cerr << "ERROR" << std::endl;
    return nullptr;
}

void ViewController::checkBoxAction(int row, CheckState sender) {
    if (row < 0 || row >= static_cast<int>(availbleApp_.size()))
        return;
    checkCategory(availbleApp_[static_cast<std::size_t>(row)], sender);
    reloadTableAndUI();
}

void ViewController::showDetailsFor(int row) {
    if (row < 0 || row >= static_cast<int>(availbleApp_.size()))
        return;
    ui_->selectionView->setGeometry(rect());
    ui_->selectionView->setHidden(false);
    ui_->selectionView->raise();
    toolsSelectedRow_ = row;
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

void ViewController::selectionCheckBoxAction(const QString& toolTip, CheckState sender) {
    if (toolsSelectedRow_ < 0)
        return;
    checkItem(availbleApp_[static_cast<std::size_t>(toolsSelectedRow_)], toolTip.toStdString(),
              sender);
    reloadData(selectionTableTag);
}

void ViewController::doneActionFromselectionView() {
    ui_->selectionView->setHidden(true);
    setFocus();
    if (toolsSelectedRow_ >= 0) {
        auto& category = availbleApp_[static_cast<std::size_t>(toolsSelectedRow_)];
        category.isChecked = categoryStateFromItems(category);
    }
    toolsSelectedRow_ = -1;
    reloadTableAndUI();
}

} // namespace sentravex
