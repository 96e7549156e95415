#include "AppDelegate.h"
#include "FaultyFileSystem.h"
#include "FillBox.h"
#include "GuiFakes.h"
#include "MacFixture.h"
#include "SettingsDefaults.h"
#include "ViewController.h"
#include "WindowDriver.h"
#include "demo/DemoTree.h"
#include "removal/PrivilegedPaths.h"
#include "removal/QuorvaneScripts.h"
#include "scan/ProgressSink.h"
#include "view/ThreatTable.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <iostream>
#include <sstream>

using namespace sentravex;
using sentravex::test::FaultyFileSystem;
using sentravex::test::GuiFakes;
using sentravex::test::MacFixture;

namespace {

const QColor green(67, 198, 89), red(188, 60, 60);

// The window on a fixture tree whose administrator command, when authorised, does what the real
// one would: removes the seven protected paths under the root.
struct Window : test::WindowDriver {
    explicit Window(const MacFixture& mac) : WindowDriver(mac), local(mac.fileSystem()) {
        fakes.removeProtectedPathsOn(local, mac.root());
    }
    void select(int row) { table()->selectRow(row); }

    LocalFileSystem local;
};

QImage image(const QString& name) {
    return QPixmap(":/images/" + name).toImage();
}

// Keeps what is written to stderr while it lives.
struct StderrCapture {
    StderrCapture() : old(std::cerr.rdbuf(out.rdbuf())) {}
    ~StderrCapture() { std::cerr.rdbuf(old); }
    std::ostringstream out;
    std::streambuf* old;
};

const std::string app = "/Applications/Quorvane.app";
const std::string receipt = "/private/var/db/receipts/com.quorvane.Quorvane.pkg.bom";
const std::string logFile = "/Library/Logs/Quorvane.log";

} // namespace

class RemovalWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { resetScanStepCounter(); }

    void removalAfterAScan_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("authorised");
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<int>("scripts");

        QTest::newRow("authorised") << QStringList{"app", "receipt", "log"} << true
                                    << QStringList{"Removed", "Removed", "Removed", "Removed"}
                                    << "All Threats have been Removed" << 2;
        // One privileged request per run: the receipt reuses the refused outcome.
        QTest::newRow("cancelled")
            << QStringList{"app", "receipt", "log"} << false
            << QStringList{"Not Removed", "Removed", "Removed", "Not Removed"}
            << "2 Threats Remaining" << 2;
        QTest::newRow("one left") << QStringList{"receipt", "log"} << false
                                  << QStringList{"Removed", "Removed", "Not Removed"}
                                  << "1 Threat Remaining" << 1;
    }

    void removalAfterAScan() {
        QFETCH(QStringList, files);
        QFETCH(bool, authorised);
        MacFixture mac;
        mac.file("/Library/Logs/Other.log", "keep");
        if (files.contains("app"))
            mac.file(app + "/Contents/Info.plist", "x");
        if (files.contains("receipt"))
            mac.file(receipt, "x");
        if (files.contains("log"))
            mac.file(logFile, "x").file(mac.home("/Library/Logs/Quorvane.log"), "x");
        Window w(mac);
        w.scan();
        QCOMPARE(w.button("btnCleanAll")->text(), QString("Quarantine >"));
        const QStringList paths = w.column(2);

        w.fakes.scripts.outcomes = {true, authorised}; // quit (when asked), then the deletion
        if (!files.contains("app"))
            w.fakes.scripts.outcomes = {authorised};
        w.button("btnCleanAll")->click();

        QTEST(w.column(1), "actions");
        QCOMPARE(w.column(2), paths); // the rows stay where they were
        QTEST(w.text("scanQuorvaneInfo"), "summary");
        const bool all = authorised;
        QCOMPARE(w.get<FillBox>("completionBox")->fillColor(), all ? green : red);
        QCOMPARE(w.get<QLabel>("imgIndicator")->pixmap().toImage(),
                 image(all ? "icn_white_check" : "icn_white_cross"));
        QCOMPARE(w.button("btnCleanAll")->text(), all ? QString("Quit") : QString("Quarantine >"));
        QVERIFY(!w.hidden("completionBox"));
        QTEST(int(w.fakes.scripts.sources.size()), "scripts");
        if (files.contains("app"))
            QCOMPARE(w.fakes.scripts.sources.front(), scripts::closeQuorvaneApp());
        // A fixture tree is no reason to restart this machine.
        QVERIFY(w.fakes.alerts.sheets.empty());
        QVERIFY(!std::filesystem::exists(mac.host(logFile)));
        QVERIFY(!std::filesystem::exists(mac.host(mac.home("/Library/Logs/Quorvane.log"))));
        QVERIFY(std::filesystem::exists(mac.host("/Library/Logs/Other.log")));

        if (all)
            return;
        // The same button runs again over the whole list; this time the user authorises.
        w.fakes.scripts.outcomes = {true, true};
        w.button("btnCleanAll")->click();
        QCOMPARE(w.column(1), QStringList(paths.size(), "Removed"));
        QCOMPARE(w.text("scanQuorvaneInfo"), QString("All Threats have been Removed"));
        QCOMPARE(w.button("btnCleanAll")->text(), QString("Quit"));
        QVERIFY(!std::filesystem::exists(mac.host(receipt)));
    }

    // A trace named as markup, in the home of a user named so: the threat table's tooltips show
    // each cell as it is, and the label naming the root and the account shows plain text.
    void namesShowAsPlainText() {
        const std::string markup = test::markupName.toStdString();
        MacFixture mac("eve" + markup);
        const std::string path = "/Applications/Quorvane.app " + markup;
        mac.file(path + "/Contents/Info.plist", "x").folder(mac.home());
        Window w(mac);
        w.scan();
        const auto row = static_cast<int>(w.column(2).indexOf(QString::fromStdString(path)));
        QVERIFY(row >= 0);
        QVERIFY(w.column(0)[row].contains(test::markupName));
        auto* model = w.table()->model();
        for (int column = 0; column < model->columnCount(); ++column) {
            const auto cell = model->index(row, column);
            QCOMPARE(test::shownToolTip(cell.data(Qt::ToolTipRole).toString()),
                     cell.data().toString());
        }
        auto* target = w.get<QLabel>("lblScanTarget");
        QCOMPARE(target->textFormat(), Qt::PlainText);
        QVERIFY(target->text().contains(test::markupName));
    }

    void restartSheetOnlyForTheSystemDisk() {
        GuiFakes fakes;
        ViewController vc({"/", "alice", 0.0, {}, fakes.services()});
        // An empty list is all removed, and deletes nothing.
        vc.removeThisMalware({});
        QCOMPARE(fakes.alerts.sheets.size(), std::size_t(1));
        const auto& sheet = fakes.alerts.sheets.front();
        QCOMPARE(sheet.alert.messageText,
                 std::string("All threats have been removed. Please restart your system to "
                             "finish removing Quorvane"));
        QCOMPARE(sheet.alert.buttons, (std::vector<std::string>{"Restart", "No"}));
        QCOMPARE(sheet.window, vc.window());
        {
            StderrCapture err;
            sheet.completionHandler(1001);
            QCOMPARE(err.out.str(), std::string("1001\n"));
        }
        QVERIFY(fakes.scripts.sources.empty());
        QCOMPARE(vc.findChild<QPushButton*>("btnCleanAll")->text(), QString("Quit"));
        {
            StderrCapture err;
            sheet.completionHandler(1000);
            QCOMPARE(err.out.str(), std::string("1000\n"));
        }
        QCOMPARE(fakes.scripts.sources, std::vector<std::string>{scripts::RestatSystem()});
    }

    void quitClosesTheWindow() {
        MacFixture mac;
        mac.folder(mac.home());
        Window w(mac);
        w.vc.show();
        w.scan();
        QCOMPARE(w.button("btnCleanAll")->text(), QString("Quit"));
        w.button("btnCleanAll")->click();
        QVERIFY(!w.vc.isVisible());
        QVERIFY(w.fakes.scripts.sources.empty());
        QVERIFY(!w.vc.remover().isQurantinePressed());
    }

    void resetAfterARemoval() {
        MacFixture mac;
        mac.file(logFile, "x").file(mac.home("/Library/Logs/Quorvane.log"), "x");
        Window w(mac);
        w.vc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.vc));
        w.scan();
        w.button("btnCleanAll")->click();
        QCOMPARE(w.text("scanQuorvaneInfo"), QString("All Threats have been Removed"));

        // A resize brings back the removal's headline, colour and icon; the title stays.
        w.get<QLabel>("scanQuorvaneInfo")->setText("changed");
        w.get<FillBox>("completionBox")->setFillColor(Qt::black);
        w.get<QLabel>("imgIndicator")->clear();
        w.button("btnCleanAll")->setText("kept");
        w.vc.resize(880, 610);
        QTRY_COMPARE(w.text("scanQuorvaneInfo"), QString("All Threats have been Removed"));
        QCOMPARE(w.get<FillBox>("completionBox")->fillColor(), green);
        QCOMPARE(w.get<QLabel>("imgIndicator")->pixmap().toImage(), image("icn_white_check"));
        QCOMPARE(w.button("btnCleanAll")->text(), QString("kept"));
        w.button("btnCleanAll")->setText("Quit");

        w.button("btnReset")->click();
        QVERIFY(!w.hidden("defaultBox"));
        QVERIFY(w.hidden("threatBox"));
        QVERIFY(w.hidden("completionBox"));
        QCOMPARE(w.table()->model()->rowCount(), 0);
        QVERIFY(!w.button("btnReset")->isEnabled());
        QVERIFY(!w.button("btnShowInFinder")->isEnabled());
        QVERIFY(w.vc.arrThreats().empty());

        // The removal's lists outlive the reset: a resize now shows none remaining, in red.
        w.vc.resize(900, 620);
        QTRY_COMPARE(w.text("scanQuorvaneInfo"), QString("0 Threats Remaining"));
        QCOMPARE(w.get<FillBox>("completionBox")->fillColor(), red);
        QCOMPARE(w.button("btnCleanAll")->text(), QString("Quit"));

        // The next scan takes scan texts again.
        mac.file(logFile, "x");
        w.scan();
        QCOMPARE(w.text("scanQuorvaneInfo"), QString("1 Potential Threat Detected"));
        w.vc.resize(940, 640);
        QTRY_COMPARE(w.button("btnCleanAll")->text(), QString("Quarantine >"));
        QCOMPARE(w.text("scanQuorvaneInfo"), QString("1 Potential Threat Detected"));
    }

    void showInFinderFollowsTheSelection() {
        MacFixture mac;
        mac.folder(mac.home());
        mac.file(receipt, "x").file(logFile, "x");
        Window w(mac);
        w.vc.showInFinder(); // no row ever selected
        QVERIFY(w.fakes.workspace.selected.empty());

        w.scan();
        QCOMPARE(w.column(2),
                 (QStringList{QString::fromStdString(logFile), QString::fromStdString(receipt)}));
        auto* show = w.button("btnShowInFinder");
        QVERIFY(!show->isEnabled());
        w.select(0);
        QVERIFY(show->isEnabled());

        // The log is removed, the receipt not: the selected log row stays selected, disabled.
        w.fakes.scripts.outcomes = {false};
        w.button("btnCleanAll")->click();
        QCOMPARE(w.column(1), (QStringList{"Removed", "Not Removed"}));
        QCOMPARE(w.table()->selectionModel()->selectedRows().size(), 1);
        QVERIFY(!show->isEnabled());

        w.select(1);
        QVERIFY(show->isEnabled());
        show->click();
        QCOMPARE(w.fakes.workspace.selected, std::vector<std::string>{mac.host(receipt)});

        w.table()->clearSelection();
        QVERIFY(!show->isEnabled());
        w.select(1);
        w.vc.reScan();
        QVERIFY(!show->isEnabled());
    }
    void rowsLeftBehindStandOutAndSayWhy() {
        MacFixture mac("demo");
        QVERIFY(writeDemoTree(mac.root(), mac.user()));
        const auto local = mac.fileSystem();
        FaultyFileSystem faulty(local);
        const std::string backups = mac.home("/Documents/Quorvane Backups");
        faulty.undeletable.insert(backups);
        // A few rows in sight: the one left behind is below them.
        test::WindowDriver w(mac, &faulty, {720, 520});
        w.fakes.removeProtectedPathsOn(local, mac.root());
        auto& vc = w.vc;
        vc.show();
        QSignalSpy done(&vc, &ViewController::scanFinished);
        vc.startScan();
        QVERIFY(done.wait(10000));
        auto* table = vc.findChild<QTableView*>("tblThreatInfo");
        auto* model = table->model();
        int left = -1;
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, 2).data().toString().toStdString() == backups)
                left = r;
        QVERIFY(left > 0);
        auto inSight = [&] {
            const QRect row = table->visualRect(model->index(left, 1));
            return table->viewport()->rect().contains(row);
        };
        QVERIFY(!inSight());
        // The columns share the table's width.
        const auto widths = threatColumnWidths(table->viewport()->width());
        QCOMPARE(table->columnWidth(0), widths.name);
        QCOMPARE(table->columnWidth(1), widths.action);
        QCOMPARE(table->columnWidth(2), widths.path);
        QCOMPARE(table->textElideMode(), Qt::ElideMiddle);
        auto* details = vc.findChild<QPushButton*>("btnShowDetails");
        QVERIFY(details->isHidden());

        vc.findChild<QPushButton*>("btnCleanAll")->click();
        QCOMPARE(model->index(left, 1).data().toString(), QString("Not Removed"));
        QVERIFY(inSight()); // scrolled to it
        QCOMPARE(model->index(left, 0).data(Qt::ForegroundRole).value<QColor>(), red);
        QVERIFY(!model->index(left, 1).data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(!model->index(0, 0).data(Qt::ForegroundRole).isValid()); // a removed row
        QVERIFY(!model->index(0, 1).data(Qt::DecorationRole).isValid());

        QVERIFY(!details->isHidden());
        details->click();
        QCOMPARE(w.fakes.alerts.sheets.size(), std::size_t(1));
        const auto& sheet = w.fakes.alerts.sheets.front().alert;
        QCOMPARE(sheet.messageText, std::string("1 Threat Not Removed"));
        QCOMPARE(sheet.details, backups + "  (Operation not permitted)");
        QVERIFY(sheet.detailsShown);
        QCOMPARE(w.fakes.alerts.sheets.front().window, vc.window());

        // A new scan forgets it.
        vc.reScan();
        QVERIFY(details->isHidden());
        QVERIFY(done.wait(10000));
    }

    void helpAndShowInFinderSayWhenNothingOpens() {
        MacFixture mac;
        mac.folder(mac.home());
        mac.file(logFile, "x");
        Window w(mac);
        QTemporaryDir dir;
        SettingsDefaults defaults(dir.filePath("defaults.ini"));
        AppDelegate appDel(defaults, w.fakes.workspace, {"", "http://help.invalid/"});
        w.vc.setAppDelegate(&appDel);
        w.scan();
        w.select(0);

        w.vc.getHelp();
        w.button("btnShowInFinder")->click();
        QVERIFY(w.fakes.alerts.sheets.empty()); // both opened

        w.fakes.workspace.opens = false;
        w.vc.getHelp();
        w.button("btnShowInFinder")->click();
        QCOMPARE(w.fakes.alerts.sheets.size(), std::size_t(2));
        QCOMPARE(w.fakes.alerts.sheets[0].alert.messageText,
                 std::string("The help page could not be opened"));
        QVERIFY(w.fakes.alerts.sheets[0].alert.informativeText.find("http://help.invalid/") !=
                std::string::npos);
        QCOMPARE(w.fakes.alerts.sheets[1].alert.messageText,
                 std::string("The folder could not be shown"));
        QVERIFY(w.fakes.alerts.sheets[1].alert.informativeText.find(mac.host(logFile)) !=
                std::string::npos);
        for (const auto& sheet : w.fakes.alerts.sheets)
            QCOMPARE(sheet.window, w.vc.window());
    }
};

QTEST_MAIN(RemovalWindowTest)
#include "RemovalWindowTest.moc"
