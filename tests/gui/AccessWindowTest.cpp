#include "AlertDialog.h"
#include "AppDelegate.h"
#include "GuiFakes.h"
#include "LocalHttpServer.h"
#include "MacFixture.h"
#include "QtAlertService.h"
#include "QtOpenPanel.h"
#include "QtWorkspace.h"
#include "SettingsDefaults.h"
#include "ViewController.h"
#include "access/AccessGrants.h"
#include "remote/VersionApproval.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>

using namespace sentravex;
using sentravex::test::GuiFakes;
using sentravex::test::LocalHttpServer;
using sentravex::test::MacFixture;

namespace {

QByteArray configFor(const QByteArray& version, const QByteArray& review) {
    return "<config><item><version_number>" + version + "</version_number><review_completed>" +
           review + "</review_completed></item></config>";
}

// Answers the next modal dialog of type T once it is up.
template <class T> void whenModal(std::function<void(T*)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("no modal dialog");
        answer(dialog);
    });
}

} // namespace

class AccessWindowTest : public QObject {
    Q_OBJECT
private slots:
    void scanWaitsForTheHomeFolderGrant() {
        MacFixture mac;
        mac.folder(mac.home()).file("/Library/Logs/Quorvane.log", "x");
        GuiFakes fakes;
        ViewController vc({mac.root(), mac.user(), 0.0, {}, fakes.services()});
        QSignalSpy done(&vc, &ViewController::scanFinished);

        // Dismissed: no scan.
        fakes.openPanel.answer = {0, std::nullopt};
        vc.startScan();
        QVERIFY(!vc.isScanning());
        QVERIFY(!vc.findChild<QWidget*>("defaultBox")->isHidden());
        QVERIFY(vc.findChild<QWidget*>("threatBox")->isHidden());
        QCOMPARE(fakes.openPanel.shown.size(), std::size_t(1));
        const auto& panel = fakes.openPanel.shown.front();
        QCOMPARE(panel.prompt, std::string("Confirm Access"));
        QCOMPARE(panel.message, std::string("Give access for scanning in your User Directory"));
        QCOMPARE(panel.directory, mac.home());
        QVERIFY(panel.canChooseDirectories && !panel.canChooseFiles);
        QVERIFY(!fakes.defaults.value(kLibraryAccess));
        QTest::qWait(0);
        QVERIFY(done.isEmpty());

        // Granted: the scan runs and the grant is kept, so the next scan does not ask again.
        fakes.openPanel.answer = {kOpenPanelOK, mac.home()};
        vc.startScan();
        QVERIFY(vc.isScanning());
        QVERIFY(done.wait(10000));
        QVERIFY(fakes.defaults.boolForKey(kLibraryAccess));
        QVERIFY(fakes.defaults.value(kSaveDirectory));
        QCOMPARE(fakes.defaults.value(kSaveDirectoryForHD), fakes.defaults.value(kSaveDirectory));
        vc.reScan();
        QVERIFY(done.wait(10000));
        QCOMPARE(fakes.openPanel.shown.size(), std::size_t(2));
        QVERIFY(fakes.alerts.modal.empty());
    }

    void refusedRescanKeepsAWayBack() {
        MacFixture mac;
        mac.folder(mac.home());
        GuiFakes fakes;
        ViewController vc({mac.root(), mac.user(), 0.0, {}, fakes.services()});
        QSignalSpy done(&vc, &ViewController::scanFinished);
        fakes.openPanel.answer = {kOpenPanelOK, mac.home()};
        vc.startScan();
        QVERIFY(done.wait(10000));

        for (const auto& key : {kLibraryAccess, kSaveDirectory, kSaveDirectoryForHD})
            fakes.defaults.remove(key);
        fakes.openPanel.answer = {0, std::nullopt};
        vc.reScan();
        QVERIFY(!vc.isScanning());
        QVERIFY(!vc.findChild<QWidget*>("completionBox")->isHidden());
        QVERIFY(vc.findChild<QPushButton*>("btnReset")->isEnabled());
    }

    // A root that is no Mac disk, or lacks the user's home, would be reported clean after a scan
    // of fewer places: the window says why and starts neither a scan nor a cleaner build.
    void aRootWithoutTheDiskOrTheHomeStartsNothing() {
        MacFixture mac;
        mac.file("/Library/Logs/Quorvane.log");
        const std::pair<std::string, std::string> cases[] = {
            {mac.host("/Library"), mac.host("/Library") + " does not look like a Mac disk"},
            {mac.root(), "No home folder /Users/alice under " + mac.root()},
        };
        for (const auto& [root, sentence] : cases) {
            GuiFakes fakes;
            ViewController vc({root, mac.user(), 0.0, {}, fakes.services()});
            QSignalSpy built(&vc, &ViewController::cleanerBuildStarted);
            vc.startScan();
            vc.showToolsView();
            QVERIFY(!vc.isScanning());
            QVERIFY(!vc.findChild<QWidget*>("defaultBox")->isHidden());
            QVERIFY(fakes.openPanel.shown.empty());
            QVERIFY(built.isEmpty());
            QCOMPARE(fakes.alerts.modal.size(), std::size_t(2));
            for (const auto& alert : fakes.alerts.modal)
                QCOMPARE(alert.messageText, sentence);
        }
        // With the home there, the same window goes on.
        mac.folder(mac.home());
        GuiFakes fakes;
        ViewController vc({mac.root(), mac.user(), 0.0, {}, fakes.services()});
        QSignalSpy done(&vc, &ViewController::scanFinished);
        fakes.openPanel.answer = {kOpenPanelOK, mac.home()};
        vc.startScan();
        QVERIFY(vc.isScanning());
        QVERIFY(done.wait(10000));
        QVERIFY(fakes.alerts.modal.empty());
    }

    void wholeDiskRouteAsksNothingOfAWritableDisk() {
        MacFixture mac;
        GuiFakes fakes;
        fakes.defaults.setBool(kSandboxingDone, true);
        ViewController vc({mac.root(), mac.user(), 0.0, {}, fakes.services()});
        // "/" under a fixture root is writable for whoever made it.
        QVERIFY(vc.checkForHDAccess());
        QVERIFY(fakes.alerts.modal.empty());
        QVERIFY(fakes.openPanel.shown.empty());
    }

    void alertButtonsAnswerTheirCodes() {
        QWidget window;
        window.resize(800, 560);
        window.show();
        QtAlertService alerts;
        alerts.setAnchor(&window);
        const AlertMessage access{"Access Alert", "informative", {"Continue", "Confirm Access"}};
        // Return answers the first button; a click on the second answers 1001; Escape
        // answers neither of two.
        whenModal<AlertDialog>([&window](AlertDialog* box) {
            QCOMPARE(box->parentWidget(), &window); // over the window, not the screen's centre
            QCOMPARE(box->button(0)->text(), QString("Continue"));
            QVERIFY(box->button(0)->isDefault());
            QVERIFY(box->button(1)->x() < box->button(0)->x()); // the first sits rightmost
            QTest::keyClick(box, Qt::Key_Escape);
            QVERIFY(box->isVisible());
            QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(alerts.runModal(access), kAlertFirstButtonReturn);
        whenModal<AlertDialog>([](AlertDialog* box) { box->button(1)->click(); });
        QCOMPARE(alerts.runModal(access), kAlertSecondButtonReturn);

        // A sheet returns at once and answers through its handler.
        long response = 0;
        alerts.beginSheetModalForWindow({"message", "", {"Restart", "No"}}, &window,
                                        [&](long r) { response = r; });
        auto* sheet = window.findChild<AlertDialog*>();
        QVERIFY(sheet);
        QCOMPARE(sheet->windowModality(), Qt::WindowModal);
        sheet->button(1)->click();
        QCOMPARE(response, kAlertSecondButtonReturn);
    }

    void alertsSitOverTheirWindowWideEnoughForTheirSentence() {
        QWidget window;
        window.setGeometry(300, 200, 860, 600);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const std::string sentence = "You have successfully cleared selected data.";
        AlertDialog box({"Alert", sentence, {}}, &window);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY(window.frameGeometry().contains(box.frameGeometry().center()));
        QCOMPARE(box.windowTitle(), QString("Sentravex"));
        auto* heading = box.findChild<QLabel*>("alertHeading");
        auto* text = box.findChild<QLabel*>("alertText");
        QCOMPARE(heading->text(), QString("Alert"));
        QCOMPARE(text->text(), QString::fromStdString(sentence));
        // The sentence on one line, not four.
        QVERIFY2(text->height() < 2 * text->fontMetrics().lineSpacing(),
                 qPrintable(QString::number(text->height())));
        QVERIFY(text->width() >= text->fontMetrics().horizontalAdvance(text->text()));
        // A long one wraps, at a width still easy to read.
        AlertDialog wide({"Alert", std::string(40, 'x') + " " + std::string(400, 'y'), {}},
                         &window);
        wide.show();
        QVERIFY(wide.width() < 700);
        // Escape or the close button answers an alert of one button as that button.
        QTest::keyClick(&box, Qt::Key_Escape);
        QCOMPARE(box.response(), kAlertFirstButtonReturn);
        QVERIFY(!box.isVisible());
    }

    void alertDetailsOpenAndClose() {
        QWidget window;
        window.show();
        AlertMessage alert{"Alert", "1 path could not be removed.", {}, "/Users/a/x  (why)"};
        AlertDialog closed(alert, &window);
        closed.show();
        QVERIFY(closed.detailsText()->isHidden());
        QCOMPARE(closed.detailsButton()->text(), QString("Show Details"));
        closed.detailsButton()->click();
        QVERIFY(closed.detailsText()->isVisible());
        QCOMPARE(closed.detailsText()->toPlainText(), QString("/Users/a/x  (why)"));
        QCOMPARE(closed.detailsButton()->text(), QString("Hide Details"));
        QVERIFY(!closed.detailsButton()->isDefault()); // Return still answers the alert
        closed.detailsButton()->click();
        QVERIFY(closed.detailsText()->isHidden());

        alert.detailsShown = true;
        AlertDialog open(alert, &window);
        open.show();
        QVERIFY(open.detailsText()->isVisible());
        AlertDialog none({"Alert", "text", {}}, &window);
        QVERIFY(!none.detailsButton() && !none.detailsText());
    }

    void openPanelAnswersLogicalFolders() {
#ifdef Q_OS_MACOS
        QSKIP(
            "macOS shows its own folder panel, which a test cannot drive; Qt's dialog is Linux's");
#endif
        MacFixture mac;
        mac.folder(mac.home("/Documents"));
        QTemporaryDir outside;
        QtOpenPanel panel{Root(mac.root())};
        OpenPanelSettings settings;
        settings.prompt = "Confirm Access";
        settings.message = "Give access for scanning in your User Directory";
        settings.directory = mac.home();

        struct Case {
            QString choose;
            std::optional<std::string> url;
        };
        const Case cases[] = {
            {QString::fromStdString(mac.host(mac.home("/Documents"))), mac.home("/Documents")},
            {QString::fromStdString(mac.root()), "/"},
            {outside.path(), std::nullopt},
        };
        for (const auto& c : cases) {
            whenModal<QFileDialog>([&](QFileDialog* dialog) {
                QCOMPARE(dialog->windowTitle(), QString::fromStdString(settings.message));
                QCOMPARE(dialog->labelText(QFileDialog::Accept), QString("Confirm Access"));
                QCOMPARE(
                    QFileInfo(dialog->directory().path()).canonicalFilePath(),
                    QFileInfo(QString::fromStdString(mac.host(mac.home()))).canonicalFilePath());
                QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
                dialog->setDirectory(c.choose);
                dialog->selectFile(c.choose);
                static_cast<QDialog*>(dialog)->accept(); // as its confirm button does
            });
            const auto answer = panel.runModal(settings);
            QCOMPARE(answer.response, kOpenPanelOK);
            QCOMPARE(answer.url, c.url);
        }

        whenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        QCOMPARE(panel.runModal(settings).response, 0L);
    }

    void versionCheckAtFirstDisplay_data() {
        QTest::addColumn<std::optional<QByteArray>>("response");
        QTest::addColumn<LocalHttpServer::Pace>("pace");
        QTest::addColumn<bool>("before");
        QTest::addColumn<bool>("after");
        using S = LocalHttpServer;
        const auto whole = S::Pace::Whole;
        const QByteArray running(kRunningVersion);
        const QByteArray approving = configFor(running, "true");
        QTest::newRow("approved") << std::optional(S::answer(approving)) << whole << false << true;
        QTest::newRow("capital True")
            << std::optional(S::answer(configFor(running, "True"))) << whole << true << false;
        QTest::newRow("other version")
            << std::optional(S::answer(configFor(running + ".1", "true"))) << whole << true
            << false;
        QTest::newRow("error page")
            << std::optional(S::answer("<html><body>oops", "500 Internal Server Error")) << whole
            << true << false;
        // No body, or no answer at all: the flag keeps its value.
        QTest::newRow("empty body") << std::optional(S::answer("")) << whole << true << true;
        QTest::newRow("no server") << std::optional<QByteArray>() << whole << true << true;
        QTest::newRow("cut short")
            << std::optional(S::answer(approving, "200 OK", approving.size() + 1)) << whole << false
            << false;
        // Well-formed and approving, but longer than any configuration document.
        QTest::newRow("over the cap")
            << std::optional(S::answer(approving + QByteArray(kVersionDocumentCap, ' '))) << whole
            << false << false;
        QTest::newRow("endless") << std::optional(S::openEnded() + approving) << S::Pace::Endless
                                 << false << false;
    }

    void versionCheckAtFirstDisplay() {
        QFETCH(std::optional<QByteArray>, response);
        QFETCH(LocalHttpServer::Pace, pace);
        QFETCH(bool, before);
        std::optional<LocalHttpServer> server;
        if (response)
            server.emplace(*response, pace);
        const QString base = server ? server->base() : test::downServer();

        QTemporaryDir dir;
        SettingsDefaults defaults(dir.filePath("defaults.ini"));
        QtWorkspace workspace;
        AppDelegate appDel(defaults, workspace, {test::downServer(), "http://help.invalid/"});
        appDel.setIsVersionApproved(before);

        MacFixture mac;
        GuiFakes fakes;
        ViewController vc({mac.root(), mac.user(), 0.0, base.toStdString(), fakes.services()});
        vc.setAppDelegate(&appDel);
        QSignalSpy checked(&vc, &ViewController::versionCheckDone);
        QCOMPARE(appDel.isVersionApproved(), before);
        vc.show();
        QVERIFY(checked.wait(10000));
        QTEST(appDel.isVersionApproved(), "after");
        if (server)
            QVERIFY(server->request().startsWith("GET /QuorvaneConfig.xml HTTP/1.1\r\n"));

        // Only the first display checks: a second would have its request under way at once.
        QTRY_VERIFY(vc.findChildren<QNetworkReply*>().isEmpty());
        vc.hide();
        vc.show();
        QVERIFY(vc.findChildren<QNetworkReply*>().isEmpty());
        QCOMPARE(checked.size(), 1);
        if (server)
            QCOMPARE(server->request().count("GET "), 1);
    }

    void windowClosedWhileTheDocumentIsReadIsSafe() {
        // The longest document read, one unending token: still being read when the window goes.
        LocalHttpServer server(
            LocalHttpServer::answer("<config><" + QByteArray(kVersionDocumentCap - 9, 'a')));
        QTemporaryDir dir;
        SettingsDefaults defaults(dir.filePath("defaults.ini"));
        QtWorkspace workspace;
        AppDelegate appDel(defaults, workspace, {test::downServer(), "http://help.invalid/"});
        appDel.setIsVersionApproved(true);

        MacFixture mac;
        GuiFakes fakes;
        auto* vc = new ViewController(
            {mac.root(), mac.user(), 0.0, server.base().toStdString(), fakes.services()});
        vc->setAppDelegate(&appDel);
        vc->show();
        auto* network = vc->findChild<QNetworkAccessManager*>();
        QVERIFY(network);
        // Closed as soon as the document is in, before its reading can end.
        connect(network, &QNetworkAccessManager::finished, vc, &QObject::deleteLater);
        QPointer<ViewController> alive(vc);
        QTRY_VERIFY(!alive);
        QThreadPool::globalInstance()->waitForDone();
        QTest::qWait(20);
        // Not well-formed: a window still there would have set it to false.
        QVERIFY(appDel.isVersionApproved());
    }
};

QTEST_MAIN(AccessWindowTest)
#include "AccessWindowTest.moc"
