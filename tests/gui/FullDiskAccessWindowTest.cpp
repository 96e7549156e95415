#include "FaultyFileSystem.h"
#include "GuiFakes.h"
#include "MacFixture.h"
#include "ToolsCell.h"
#include "ViewController.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <cerrno>

using namespace sentravex;
using sentravex::test::FaultyFileSystem;
using sentravex::test::GuiFakes;
using sentravex::test::MacFixture;

namespace {

const std::string settingsPane =
    "x-apple.systempreferences:com.apple.preference.security?Privacy_AllFiles";

// The window over a fixture whose probe answers what the test sets.
struct Window {
    explicit Window(const MacFixture& mac, const FileSystem* files = nullptr)
        : vc(options(mac, files)), finished(&vc, &ViewController::scanFinished),
          built(&vc, &ViewController::cleanerBuildDone),
          started(&vc, &ViewController::cleanerBuildStarted) {
        vc.setAttribute(Qt::WA_DontShowOnScreen);
        vc.show();
    }
    ViewController::Options options(const MacFixture& mac, const FileSystem* files) {
        auto services = fakes.services();
        services.files = files;
        services.fullDiskAccess = [this] {
            ++probes;
            return access;
        };
        return {mac.root(), mac.user(), /*pacing*/ 0.0, {}, services};
    }
    std::size_t notices() const {
        std::size_t n = 0;
        for (const auto& alert : fakes.alerts.modal)
            n += alert.messageText == "Full Disk Access";
        return n;
    }
    void becomeActive() {
        emit qApp->applicationStateChanged(Qt::ApplicationInactive);
        emit qApp->applicationStateChanged(Qt::ApplicationActive);
    }

    std::optional<FullDiskAccess> access = FullDiskAccess::Missing;
    int probes = 0;
    GuiFakes fakes;
    ViewController vc;
    QSignalSpy finished;
    QSignalSpy built;
    QSignalSpy started;
};

} // namespace

class FullDiskAccessWindowTest : public QObject {
    Q_OBJECT
private slots:
    void aMissingGrantIsNoticedBeforeAScan() {
        MacFixture mac;
        mac.folder(mac.home());
        Window w(mac);
        QCOMPARE(w.probes, 1);

        // "Open System Settings": the pane opens and nothing starts.
        w.fakes.alerts.answers = {kAlertFirstButtonReturn};
        w.vc.startScan();
        QCOMPARE(w.notices(), std::size_t(1));
        const auto& notice = w.fakes.alerts.modal.back();
        QCOMPARE(notice.informativeText,
                 std::string("Sentravex needs Full Disk Access to see Safari, Mail and other "
                             "applications' data. Once it is granted, quit and reopen "
                             "Sentravex."));
        QCOMPARE(notice.buttons, (std::vector<std::string>{"Open System Settings", "Continue"}));
        QCOMPARE(w.fakes.workspace.opened, std::vector<std::string>{settingsPane});
        QVERIFY(!w.vc.isScanning());
        QVERIFY2(w.fakes.openPanel.shown.empty(), "the notice comes first");

        // "Continue": the scan goes on with what may be read.
        w.fakes.alerts.answers = {kAlertSecondButtonReturn};
        w.vc.startScan();
        QCOMPARE(w.notices(), std::size_t(2));
        QVERIFY(w.vc.isScanning());
        QVERIFY(w.finished.wait(20000));

        // Back from System Settings with the grant: the next scan asks nothing.
        w.access = FullDiskAccess::NothingToAsk;
        w.becomeActive();
        QCOMPARE(w.probes, 2);
        w.vc.reScan();
        QCOMPARE(w.notices(), std::size_t(2));
        QVERIFY(w.finished.wait(20000));
    }

    void aMissingGrantIsNoticedBeforeAClean() {
        MacFixture mac;
        mac.folder(mac.home());
        Window w(mac);
        w.vc.showToolsView();
        QVERIFY(w.built.wait(20000));
        const auto builds = w.started.count();

        w.fakes.alerts.answers = {kAlertFirstButtonReturn};
        w.vc.cleanAndReloadData();
        QCOMPARE(w.notices(), std::size_t(1));
        QCOMPARE(w.started.count(), builds); // no clean, no new list

        w.fakes.alerts.answers = {kAlertSecondButtonReturn};
        w.vc.cleanAndReloadData();
        QCOMPARE(w.notices(), std::size_t(2));
        QCOMPARE(w.started.count(), builds + 1);
        QVERIFY(w.built.wait(20000));
    }

    void anotherRootAsksNothing() {
        MacFixture mac;
        mac.folder(mac.home());
        GuiFakes fakes;
        ViewController vc({mac.root(), mac.user(), 0.0, {}, fakes.services()});
        QSignalSpy finished(&vc, &ViewController::scanFinished);
        vc.startScan();
        QVERIFY(vc.isScanning());
        QVERIFY(fakes.alerts.modal.empty());
        QVERIFY(finished.wait(20000));
    }

    // A category whose store the system held back says so, not "0 byte" alone.
    void categoriesSayWhatCouldNotBeRead() {
        MacFixture mac;
        mac.folder("/Applications/Safari.app").file(mac.home("/Library/Safari/History.db"), "h");
        const auto local = mac.fileSystem();
        FaultyFileSystem faulty(local);
        faulty.denied[mac.home("/Library/Safari")] = EPERM;
        Window w(mac, &faulty);
        w.access = std::nullopt;
        w.vc.showToolsView();
        QVERIFY(w.built.wait(20000));
        QCOMPARE(w.vc.availbleApp().front().Name, std::string("Safari"));
        auto* table = w.vc.findChild<QTableWidget*>("toolsTable");
        auto* safari = qobject_cast<ToolsCell*>(table->cellWidget(0, 0));
        QVERIFY(safari);
        QCOMPARE(safari->sizeText->text(), QString("0 byte · no access"));
        QVERIFY(safari->sizeText->toolTip().contains(
            QString::fromStdString(mac.home("/Library/Safari/History.db"))));
        auto* system = qobject_cast<ToolsCell*>(table->cellWidget(2, 0));
        QVERIFY(system);
        QVERIFY(!system->sizeText->text().contains("no access"));
        QVERIFY(system->sizeText->toolTip().isEmpty());
    }
};

QTEST_MAIN(FullDiskAccessWindowTest)
#include "FullDiskAccessWindowTest.moc"
