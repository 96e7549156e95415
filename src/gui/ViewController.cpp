// The scan session: start, paced steps shown on the main thread, elapsed time and the summary.
#include "ViewController.h"

#include "PacedSink.h"
#include "PlatformServices.h"
#include "ThreatTableModel.h"
#include "removal/CompletionActions.h"
#include "scan/ActionText.h"
#include "scan/ProgressSink.h"
#include "ui_ViewController.h"
#include "view/ScanProgress.h"

#include <QTimer>
#include <iostream>

namespace sentravex {

ViewController::ViewController(Options options, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::ViewController>()), options_(std::move(options)),
      fs_(Root(options_.root)), scanner_(fs_, options_.user) {
    ui_->setupUi(this);
    threatModel_ = new ThreatTableModel(*this, this);
    ui_->tblThreatInfo->setModel(threatModel_);
    connect(ui_->btnStartScan, &QPushButton::clicked, this, &ViewController::startScan);
    connect(ui_->btnRescan, &QPushButton::clicked, this, &ViewController::reScan);
    connect(ui_->btnQuorvaneRemoval, &QPushButton::clicked, this, &ViewController::showMainView);
    connect(ui_->btnTools, &QPushButton::clicked, this, &ViewController::showToolsView);
    connect(ui_->btnHelp, &QPushButton::clicked, this, &ViewController::getHelp);
    connect(ui_->btnClose, &QPushButton::clicked, this, [this] { window()->close(); });
    setUpServices();
    setUpTools();
    viewDidLoad();
    // The window starts with focus on itself: no control shows a focus ring until Tab is
    // pressed, and a click on the background takes the focus back.
    setFocusPolicy(Qt::ClickFocus);
    setFocus();
}

ViewController::~ViewController() {
    if (sink_)
        sink_->cancel();
    joinScanThread();
    cleaner_.reset(); // ends a build at its next step
}

void ViewController::joinScanThread() {
    if (scanThread_.joinable())
        scanThread_.join();
}

void ViewController::startScan() {
    if (!rootIsMacDisk() || !goOnWithoutFullDiskAccess() || !checkForHDAccess())
        return;
    remover_->scanStarted();
    ui_->defaultBox->setHidden(true);
    ui_->threatBox->setHidden(false);
    ui_->completionBox->setHidden(true);
    if (!countdownTimer_) {
        countdownTimer_ = new QTimer(this);
        connect(countdownTimer_, &QTimer::timeout, this, &ViewController::countdown);
        countdownTimer_->start(1000);
    }
    isScanning_ = true;
    joinScanThread();
    scanner_.clear();
    rebuildThreatColumns();
    ui_->btnRescan->setEnabled(false);
    ui_->btnShowDetails->setHidden(true);

    sink_ = std::make_unique<PacedSink>(*this, options_.pacing);
    scanThread_ = std::thread([this, sink = sink_.get()] { scanner_.checkQuorvane(*sink); });
}

void ViewController::reScan() {
    resetScanProgress(clock_.countDown, clock_.countdownCounterMinutes);
    ui_->btnShowInFinder->setEnabled(false);
    ui_->btnReset->setEnabled(false);
    startScan();
    // Access refused: no scan started, so the result view must keep a way back.
    if (!isScanning_)
        ui_->btnReset->setEnabled(true);
}

void ViewController::scanThreadStarted() {
    ui_->lblScanTime->setText(QString::fromStdString(clock_.text()));
    ui_->btnReset->setEnabled(false);
}

void ViewController::ScanningProgressChange(const QString& text, int number) {
    auto showStep = [this](int n) {
        ui_->textProgressScan->setText(QString::fromStdString(progressPercentText(n)));
        // The bar's range is the layout's; past its end the bar stays full.
        ui_->scanProgressbar->setValue(std::min(n, ui_->scanProgressbar->maximum()));
    };
    showStep(number);

    const auto line = QString::fromStdString(scanningEntryText(text.toStdString()));
    const auto bold = static_cast<qsizetype>(scanningEntryBoldLength);
    ui_->textSpywareNameScan->setText(
        QStringLiteral("<span style=\"white-space:pre\"><b>%1</b>%2</span>")
            .arg(line.left(bold).toHtmlEscaped(), line.mid(bold).toHtmlEscaped()));

    QTimer::singleShot(50, this, [showStep, number] { showStep(number + 1); });
    rebuildThreatColumns();
    emit stepShown(number);
}

void ViewController::rebuildThreatColumns() {
    arrQuorvaneActionTaken_.clear();
    arrQuorvaneName_.clear();
    arrQuorvanePath_.clear();
    const auto list = scanner_.arrQuorvaneList(); // a copy taken under the list's lock
    for (const auto& q : list)
        arrQuorvanePath_.append(QString::fromStdString(q->url()));
    for (const auto& q : list)
        arrQuorvaneName_.append(QString::fromStdString(q->name()));
    for (const auto& q : list) {
        const auto action = scanActionText(*q);
        arrQuorvaneActionTaken_.append(
            QString::fromLatin1(action.data(), static_cast<qsizetype>(action.size())));
    }
    threatModel_->reloadData();
}

void ViewController::doneScan() {
    std::cerr << "DoneScanning" << std::endl;
    joinScanThread(); // the scan thread has made its last step and is returning
    isScanning_ = false;
    ui_->btnReset->setEnabled(true);
    ui_->btnRescan->setEnabled(true);

    const auto list = scanner_.arrQuorvaneList();
    threatFound_ = !list.empty();
    std::cerr << "(\n";
    for (const auto& q : list)
        std::cerr << "    " << q->name() << " " << q->url() << '\n';
    std::cerr << ")" << std::endl;
    arrThreats_ = list;
    std::cerr << int(threatFound_) << std::endl;

    delete countdownTimer_;
    countdownTimer_ = nullptr;

    ui_->completionBox->setHidden(false);
    ui_->threatBox->setHidden(true);
    ui_->defaultBox->setHidden(true);
    applyResultPanel(resultPanelAfterScan(list.size()), PanelParts{});
    emit scanFinished();
}

void ViewController::countdown() {
    clock_.countdown();
    ui_->lblScanTime->setText(QString::fromStdString(clock_.text()));
}

} // namespace sentravex
