#include "FillBox.h"
#include "GuiFakes.h"
#include "MacFixture.h"
#include "ViewController.h"
#include "WindowDriver.h"
#include "scan/ProgressSink.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTextDocument>
#include <memory>

using namespace sentravex;
using sentravex::test::GuiFakes;
using sentravex::test::MacFixture;

namespace {

// The window, keeping every step of a scan as it was shown.
struct Window : test::WindowDriver {
    using WindowDriver::WindowDriver;

    struct Step {
        int number;
        QString entryLine; // as plain text
        QString entryHtml;
        QString percent;
        int bar;
    };

    std::vector<Step> scan(void (ViewController::*start)() = &ViewController::startScan) {
        std::vector<Step> steps;
        auto c = QObject::connect(&vc, &ViewController::stepShown, [&](int number) {
            QTextDocument doc;
            doc.setHtml(text("textSpywareNameScan"));
            steps.push_back({number, doc.toPlainText(), text("textSpywareNameScan"),
                             text("textProgressScan"),
                             get<QProgressBar>("scanProgressbar")->value()});
        });
        WindowDriver::scan(start);
        QObject::disconnect(c);
        return steps;
    }
};

QImage image(const QString& name) {
    return QPixmap(":/images/" + name).toImage();
}
QImage shownImage(Window& w) {
    return w.get<QLabel>("imgIndicator")->pixmap().toImage();
}

} // namespace

class ScanSessionTest : public QObject {
    Q_OBJECT
private slots:
    void init() { resetScanStepCounter(); }

    void startsIdle() {
        MacFixture mac;
        Window w(mac);
        QVERIFY(!w.hidden("mainBox"));
        QVERIFY(!w.hidden("defaultBox"));
        QVERIFY(w.hidden("toolsBox"));
        QVERIFY(w.hidden("threatBox"));
        QVERIFY(w.hidden("completionBox"));
        for (auto name : {"btnRescan", "btnReset", "btnShowInFinder"})
            QVERIFY2(!w.get<QPushButton>(name)->isEnabled(), name);
        QCOMPARE(w.get<FillBox>("innerDefaultBox")->fillColor(), QColor(188, 60, 60));
    }

    void wholeScan_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QColor>("fill");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("button");

        const QColor green(67, 198, 89), red(188, 60, 60);
        QTest::newRow("nothing") << QStringList{} << 99 << "No Threats Found" << green
                                 << "icn_white_check"
                                 << "Quit";
        QTest::newRow("one") << QStringList{"/Library/Logs/Quorvane.log"} << 100
                             << "1 Potential Threat Detected" << red << "icn_white_cross"
                             << "Quarantine >";
        QTest::newRow("two") << QStringList{"/Library/Caches/com.nimbrel.Quorvane/a",
                                            "/Library/Logs/Quorvane.log"}
                             << 101 << "2 Potential Threats Detected" << red << "icn_white_cross"
                             << "Quarantine >";
    }

    void wholeScan() {
        QFETCH(QStringList, files);
        QFETCH(int, steps);
        MacFixture mac;
        mac.folder(mac.home());
        mac.folder("/Applications").folder("/Library/LaunchAgents");
        for (const auto& f : files)
            mac.file(f.toStdString(), "x");
        Window w(mac);

        auto shown = w.scan();

        QCOMPARE(int(shown.size()), steps);
        for (int i = 0; i < steps; ++i) {
            QCOMPARE(shown[i].number, i);
            QCOMPARE(shown[i].percent, QString::number(i) + "%");
            QCOMPARE(shown[i].bar, std::min(i, 100));
            QVERIFY(shown[i].entryLine.startsWith("Scanning Entry:  Malware."));
            QVERIFY(shown[i].entryHtml.contains("<b>Scanning Entry:</b>"));
        }
        QCOMPARE(shown.front().entryLine, QString("Scanning Entry:  Malware.Quorvane"));
        // Each step is followed 0.05 s later by its successor.
        QTRY_COMPARE(w.text("textProgressScan"), QString::number(steps) + "%");

        QFETCH(QString, summary);
        QFETCH(QColor, fill);
        QFETCH(QString, icon);
        QFETCH(QString, button);
        QVERIFY(w.hidden("defaultBox"));
        QVERIFY(w.hidden("threatBox"));
        QVERIFY(!w.hidden("completionBox"));
        QCOMPARE(w.text("scanQuorvaneInfo"), summary);
        QCOMPARE(w.get<FillBox>("completionBox")->fillColor(), fill);
        QCOMPARE(shownImage(w), image(icon));
        QCOMPARE(w.get<QPushButton>("btnCleanAll")->text(), button);
        QVERIFY(w.get<QPushButton>("btnRescan")->isEnabled());
        QVERIFY(w.get<QPushButton>("btnReset")->isEnabled());
        QVERIFY(!w.vc.isScanning());
        QCOMPARE(w.vc.threatFound(), !files.isEmpty());
        QCOMPARE(int(w.vc.arrThreats().size()), int(files.size()));
    }

    void tableListsFindsInCatalogueOrderWithoutAction() {
        MacFixture mac;
        mac.folder("/Applications/Quorvane.app")
            .file("/Library/Logs/Quorvane.log", "x")
            .file(mac.home("/Library/Logs/Quorvane.log"), "x");
        Window w(mac);
        std::vector<int> rowsAtStep;
        QObject::connect(&w.vc, &ViewController::stepShown, [&](int) {
            rowsAtStep.push_back(w.get<QTableView>("tblThreatInfo")->model()->rowCount());
        });
        w.scan();

        const QStringList paths{"/Applications/Quorvane.app", "/Library/Logs/Quorvane.log",
                                "/Users/alice/Library/Logs/Quorvane.log"};
        QCOMPARE(w.column(2), paths);
        QCOMPARE(w.column(0), (QStringList{"Quorvane.app", "Quorvane.log", "Quorvane.log"}));
        QCOMPARE(w.column(1), QStringList(3, "No Action"));
        // Without pacing the scan thread runs ahead of the displays; the table still only grows.
        QVERIFY(std::is_sorted(rowsAtStep.begin(), rowsAtStep.end()));
        QCOMPARE(rowsAtStep.back(), 3);
        QCOMPARE(w.vc.threatCellText("PathInfo", 3), QString());
        QCOMPARE(w.vc.threatCellText("PathInfo", -1), QString());
    }

    void elapsedTimeAndRescan() {
        MacFixture mac;
        mac.folder(mac.home());
        mac.file("/Library/Logs/Quorvane.log", "x");
        Window w(mac);
        w.scan();
        QCOMPARE(w.text("lblScanTime"), QString("00:00"));
        for (int i = 0; i < 59; ++i)
            w.vc.countdown();
        QCOMPARE(w.text("lblScanTime"), QString("00:59"));
        w.vc.countdown();
        QCOMPARE(w.text("lblScanTime"), QString("01:00"));

        // A second plain start keeps counting steps; a rescan starts over at 0 and 00:00.
        auto again = w.scan();
        QCOMPARE(again.front().number, 100);
        QCOMPARE(w.text("lblScanTime"), QString("01:00"));
        auto fresh = w.scan(&ViewController::reScan);
        QCOMPARE(fresh.front().number, 0);
        QCOMPARE(int(fresh.size()), 100);
        QCOMPARE(w.text("lblScanTime"), QString("00:00"));
        QCOMPARE(w.text("scanQuorvaneInfo"), QString("1 Potential Threat Detected"));
    }

    void startShowsTheScanAndDisablesRescan() {
        MacFixture mac;
        mac.folder(mac.home());
        Window w(mac);
        QSignalSpy done(&w.vc, &ViewController::scanFinished);
        w.vc.startScan();
        // Before any queued step is shown.
        QVERIFY(w.hidden("defaultBox"));
        QVERIFY(!w.hidden("threatBox"));
        QVERIFY(w.hidden("completionBox"));
        QVERIFY(!w.get<QPushButton>("btnRescan")->isEnabled());
        QVERIFY(w.vc.isScanning());
        QVERIFY(done.wait(10000));
    }

    void closingDuringAPacedScanEndsItsWaits() {
        MacFixture mac;
        mac.folder(mac.home());
        QElapsedTimer clock;
        {
            GuiFakes fakes;
            ViewController vc({mac.root(), mac.user(), /*pacing*/ 1.0, {}, fakes.services()});
            QSignalSpy shown(&vc, &ViewController::stepShown);
            vc.startScan();
            QVERIFY(shown.wait(5000)); // the scan thread is now inside its 26 s of waits
            clock.start();
        }
        QVERIFY2(clock.elapsed() < 10000, "the window waited for the whole scan");
    }

    void resizeReappliesTheScanLook() {
        MacFixture mac;
        mac.folder(mac.home());
        mac.file("/Library/Logs/Quorvane.log", "x")
            .file("/Library/Caches/com.nimbrel.Quorvane", "x");
        Window w(mac);
        w.vc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.vc));

        // Before any scan: the hidden box takes the clean look, the idle screen stays.
        w.vc.resize(900, 620);
        QTRY_COMPARE(w.text("scanQuorvaneInfo"), QString("No Threats Found"));
        QCOMPARE(w.get<FillBox>("completionBox")->fillColor(), QColor(67, 198, 89));
        QCOMPARE(w.get<QPushButton>("btnCleanAll")->text(), QString("Quit"));
        QVERIFY(w.get<QLabel>("imgIndicator")->pixmap().isNull()); // the icon is not set
        QVERIFY(!w.hidden("defaultBox"));
        QVERIFY(w.hidden("completionBox"));

        // After a scan: headline, colour and title come back; the icon stays as it is.
        w.scan();
        w.get<QPushButton>("btnCleanAll")->setText("changed");
        w.get<QLabel>("scanQuorvaneInfo")->setText("changed");
        w.get<FillBox>("completionBox")->setFillColor(Qt::black);
        w.get<QLabel>("imgIndicator")->clear();
        w.vc.resize(920, 640);
        QTRY_COMPARE(w.text("scanQuorvaneInfo"), QString("2 Potential Threats Detected"));
        QCOMPARE(w.get<FillBox>("completionBox")->fillColor(), QColor(188, 60, 60));
        QCOMPARE(w.get<QPushButton>("btnCleanAll")->text(), QString("Quarantine >"));
        QVERIFY(w.get<QLabel>("imgIndicator")->pixmap().isNull());
    }

    void switchingSidesKeepsTheMainSide() {
        MacFixture mac;
        mac.folder(mac.home());
        Window w(mac);
        w.scan();
        w.vc.showToolsView();
        QVERIFY(w.hidden("mainBox"));
        QVERIFY(!w.hidden("toolsBox"));
        w.vc.showMainView();
        QVERIFY(!w.hidden("mainBox"));
        QVERIFY(w.hidden("toolsBox"));
        QVERIFY(!w.hidden("completionBox"));
        QVERIFY(w.hidden("defaultBox"));
        QCOMPARE(w.text("scanQuorvaneInfo"), QString("No Threats Found"));
    }
};

QTEST_MAIN(ScanSessionTest)
#include "ScanSessionTest.moc"
