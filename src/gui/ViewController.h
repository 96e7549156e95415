#pragma once

#include "access/AccessGrants.h"
#include "access/FullDiskAccess.h"
#include "cleaner/CleanerSession.h"
#include "cleaner/RunningOwners.h"
#include "platform/LocalFileSystem.h"
#include "removal/ThreatRemover.h"
#include "scan/Quorvane.h"
#include "scan/ThreatScanner.h"
#include "view/ResultPanel.h"
#include "view/ScanClock.h"

#include <QIcon>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class QNetworkAccessManager;
class QTimer;

namespace Ui {
class ViewController;
}

namespace sentravex {

class AlertService;
class AppDelegate;
class Defaults;
class FileSystem;
class FullDiskAccessWatch;
class OpenPanel;
class PacedSink;
class Processes;
class ScriptRunner;
class Workspace;
struct PlatformServices;
class ThreatTableModel;

// The window's content and the owner of its working state: the scan session here, the other
// subsystems beside it.
class ViewController : public QWidget {
    Q_OBJECT
public:
    struct Options {
        std::string root = "/";
        std::string user;
        // Factor on every progress step's wait and on the wait for applications to quit: 1 in
        // the window, 0 where nothing may wait.
        double pacing = 1.0;
        // Base URL of the configuration server; empty: no version check.
        std::string configServer;
        // What asks the user or acts on the system; each one left null is the real one (the
        // defaults then live in memory only).
        struct Services {
            ScriptRunner* scripts = nullptr;
            OpenPanel* openPanel = nullptr;
            AlertService* alerts = nullptr;
            Defaults* defaults = nullptr;
            Workspace* workspace = nullptr;
            const Processes* processes = nullptr;
            // How protected paths under another root are deleted; none: as this process may.
            std::optional<ThreatRemover::Privileges> privileges;
            // The Mac tree the cleaner reads and deletes in, and the removal deletes in; null:
            // the one under `root`.
            const FileSystem* files = nullptr;
            // Whether `processes` run from the tree, so that what they hold open is in it; none:
            // when `root` is the folder "/", however it is spelt.
            std::optional<bool> ownDisk = std::nullopt;
            // Whether Full Disk Access is missing; null: the rule over the root.
            std::function<std::optional<FullDiskAccess>()> fullDiskAccess{};
        } services;
    };

    explicit ViewController(Options options, QWidget* parent = nullptr);
    ~ViewController() override;

    void setAppDelegate(AppDelegate* appDel) { appDel_ = appDel; }

    // Scan session.
    void startScan();
    // Starts again from step 0 and 00:00.
    void reScan();
    void ScanningProgressChange(const QString& text, int number);
    void doneScan();
    void countdown();
    // What the scan thread has the main thread do when it starts.
    void scanThreadStarted();

    // Window.
    void screenResize();
    void showMainView();
    void showToolsView();
    void getHelp();

    // The threat table's data source; rows never exceed the column arrays.
    int numberOfRowsInTableView() const;
    QString threatCellText(const char* columnIdentifier, int row) const;

    // Removal and the completion view.
    void cleanAllThreats();
    void removeThisMalware(const std::vector<QuorvanePtr>& list);
    void showInFinder();
    // Why each row the last removal left "Not Removed" is still there, as a sheet.
    void showNotRemovedDetails();
    void resetApp();
    void tableViewSelectionDidChange();
    const ThreatRemover& remover() const { return *remover_; }

    // Access grants before a scan, and the version approval check.
    // Whether the root is a Mac disk holding the user's home; else says why, in an alert.
    bool rootIsMacDisk() const;
    bool checkForHDAccess();
    // The Full Disk Access notice before a scan or a clean; false when the user went to grant it.
    bool goOnWithoutFullDiskAccess() const;
    void CheckVersionApprove();

    // Privacy cleaner: the session builds the category list on a thread of its own, one build at
    // a time; each collector's category joins the list on the main thread while the build waits.
    void resetAndAddavailbleApplications();
    void BGscanDone();
    // "Remove Selected": refused while a build runs, so that two builds never share the list;
    // cleans the checked items, then builds the list again.
    void cleanAndReloadData();
    // Deletes what is checked in `categories`, then says how it went and which of them were
    // left out because their application still ran.
    void cleanSelected(const std::vector<CleanerCategory>& categories,
                       const std::vector<RunningOwner>& stillRunning);
    void setHeightDetails();
    void reloadTableAndUI();

    // The cleaner tables, told apart by tag: 1 the category table, 2 the detail table.
    int numberOfRowsInTableView(int tag) const;
    // The row's cell, made once per row and filled afresh; null for an unknown tag.
    QWidget* viewForTableColumn(int tag, int row);
    void checkBoxAction(int row, CheckState sender);
    void showDetailsFor(int row);
    void selectionCheckBoxAction(int row, CheckState sender);
    void doneActionFromselectionView();

    const std::vector<CleanerCategory>& availbleApp() const { return cleaner_->categories(); }
    const CleanerCategory* toolsSelectedDic() const { return cleaner_->openCategory(); }
    bool isScanRunningForDetails() const { return cleaner_->isBuilding(); }
    bool scanningDone() const { return cleaner_->isDone(); }

    bool isScanning() const { return isScanning_; }
    bool threatFound() const { return threatFound_; }
    std::vector<QuorvanePtr> arrQuorvaneList() const { return scanner_.arrQuorvaneList(); }
    const std::vector<QuorvanePtr>& arrThreats() const { return arrThreats_; }

signals:
    // A progress step has been put on screen; the scan has ended and its summary is shown.
    void stepShown(int number);
    void scanFinished();
    // A version check has ended, whatever it found.
    void versionCheckDone();
    // A cleaner build has started; it has ended and its list is complete.
    void cleanerBuildStarted();
    void cleanerBuildDone();
    // The clean's progress dialog has been brought up to date with the entries removed so far.
    void cleanProgressShown(quint64 entries);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void viewDidLoad();
    void applyResultPanel(const ResultPanel& panel, PanelParts parts);
    void rebuildThreatColumns();
    void joinScanThread();
    void setUpServices();
    // Shows what the removal run over `listed` records did.
    void removalDone(std::size_t listed);
    void setUpTools();
    void reloadData(int tag);
    // What the cleaner's build has handed over joins the list; called by name from the build.
    Q_INVOKABLE void deliverCleanerHandOff() { cleaner_->deliver(); }
    QIcon categoryIcon(const CleanerCategory& category);
    // Asks what to do about running applications whose data is checked in `categories`; false:
    // the user chose not to clean. What was asked to quit and did not is left out of them.
    bool settleRunningOwners(std::vector<CleanerCategory>& categories,
                             std::vector<RunningOwner>& stillRunning);
    // Asks them to quit and waits, the window painting meanwhile; none: the user stopped waiting.
    std::optional<std::vector<RunningOwner>>
    quitAndWaitFor(const std::vector<RunningOwner>& owners);

    std::unique_ptr<Ui::ViewController> ui_;
    Options options_;
    AppDelegate* appDel_ = nullptr;

    LocalFileSystem fs_;
    ThreatScanner scanner_;
    std::unique_ptr<PacedSink> sink_;
    std::thread scanThread_;

    // Removal, access grants and the version check.
    std::unique_ptr<PlatformServices> platform_;
    std::unique_ptr<ThreatRemover> remover_;
    std::unique_ptr<AccessGrants> access_;
    FullDiskAccessWatch* fullDiskAccess_ = nullptr;
    AlertService* alerts_ = nullptr;
    Workspace* workspace_ = nullptr;
    const Processes* processes_ = nullptr;
    QuorvanePtr quorvaneFile_;
    std::string currentVersion_;
    bool versionCheckStarted_ = false;
    QNetworkAccessManager* network_ = nullptr;

    bool isScanning_ = false;
    bool threatFound_ = false;
    ScanClock clock_;
    QTimer* countdownTimer_ = nullptr;
    std::vector<QuorvanePtr> arrThreats_;
    QStringList arrQuorvaneName_;
    QStringList arrQuorvanePath_;
    QStringList arrQuorvaneActionTaken_;
    ThreatTableModel* threatModel_ = nullptr;

    // Privacy cleaner: the overlay shows the session's open category.
    std::unique_ptr<CleanerSession> cleaner_;
    std::map<std::string, QIcon> icons_;
};

} // namespace sentravex
