#include "AppDelegate.h"

#include "AlertDialog.h"
#include "LocalHttpServer.h"
#include "SettingsDefaults.h"
#include "SingleInstance.h"
#include "platform/Workspace.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <optional>

using namespace sentravex;
using FlagServer = sentravex::test::LocalHttpServer;

namespace {

class RecordingWorkspace : public Workspace {
public:
    std::vector<RunningApplication> runningApplications() const override { return apps; }
    void terminate(const RunningApplication& app) override {
        terminated.push_back(app.localizedName);
    }
    bool openURL(const std::string& url) override {
        opened.push_back(url);
        return opens;
    }
    bool selectFile(const std::string&) override { return true; }

    std::vector<RunningApplication> apps;
    std::vector<std::string> terminated;
    std::vector<std::string> opened;
    bool opens = true;
};

struct Shell {
    explicit Shell(QString server, std::chrono::milliseconds timeout = std::chrono::seconds(5))
        : defaults(dir.filePath("defaults.ini")),
          appDel(defaults, workspace, {std::move(server), "http://help.invalid/", timeout}) {}

    // Launches and waits for the fetch to end; returns the flag it stored.
    bool launch() {
        QSignalSpy fetched(&appDel, &AppDelegate::remoteFlagFetched);
        appDel.applicationDidFinishLaunching();
        if (!defaults.value("SandboxingDone"))
            qFatal("SandboxingDone not written at launch");
        if (!fetched.wait(10000))
            qFatal("the fetch did not end");
        const bool flag = fetched.front().front().toBool();
        if (flag != defaults.boolForKey("SandboxingDone"))
            qFatal("the signal and the defaults disagree");
        return flag;
    }

    QTemporaryDir dir;
    SettingsDefaults defaults;
    RecordingWorkspace workspace;
    AppDelegate appDel;
};

} // namespace

class AppDelegateTest : public QObject {
    Q_OBJECT
private slots:
    void remoteFlag_data() {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<bool>("flag");
        using F = FlagServer;
        QTest::newRow("true") << F::answer("true") << true;
        QTest::newRow("true and a line end") << F::answer("true\n") << false;
        QTest::newRow("capitals") << F::answer("TRUE") << false;
        QTest::newRow("blank before") << F::answer(" true") << false;
        QTest::newRow("empty") << F::answer("") << false;
        QTest::newRow("false") << F::answer("false") << false;
        // The status is not examined: only the body counts.
        QTest::newRow("true with 404") << F::answer("true", "404 Not Found") << true;
    }

    void remoteFlag() {
        QFETCH(QByteArray, response);
        FlagServer server(response);
        Shell shell(server.base());
        shell.defaults.setBool("SandboxingDone", true); // left from an earlier run
        QTEST(shell.launch(), "flag");
        QVERIFY(server.request().startsWith("GET /quorvane.txt HTTP/1.1\r\n"));
        QVERIFY(shell.defaults.boolForKey(
            "NSConstraintBasedLayoutVisualizeMutuallyExclusiveConstraints"));
    }

    void remoteFlagFailures() {
        {
            Shell shell(test::downServer());
            shell.defaults.setBool("SandboxingDone", true);
            QVERIFY(!shell.launch());
        }
        {
            // A server that takes the request and never answers ends at the timeout.
            FlagServer silent(std::nullopt);
            Shell shell(silent.base(), std::chrono::milliseconds(300));
            QVERIFY(!shell.launch());
            QVERIFY(silent.request().startsWith("GET /quorvane.txt"));
        }
    }

    void flagIsNoUntilTheAnswerArrives() {
        FlagServer server(FlagServer::answer("true"));
        Shell shell(server.base());
        shell.defaults.setBool("SandboxingDone", true);
        QSignalSpy fetched(&shell.appDel, &AppDelegate::remoteFlagFetched);
        shell.appDel.applicationDidFinishLaunching();
        QVERIFY(!shell.defaults.boolForKey("SandboxingDone"));
        QVERIFY(fetched.wait(10000));
        QVERIFY(shell.defaults.boolForKey("SandboxingDone"));
    }

    void terminationQuitsOnlyTheHelper() {
        Shell shell(test::downServer());
        shell.workspace.apps = {{"Finder", "com.apple.finder", 10},
                                {"Helper", helperBundleIdentifier, 11},
                                {"Other", "com.lindqvale.Other", 12}};
        shell.appDel.applicationWillTerminate();
        QCOMPARE(shell.workspace.terminated, std::vector<std::string>{"Helper"});
        QVERIFY(!shell.appDel.applicationShouldTerminateAfterLastWindowClosed());
    }

    void helpOpensTheHelpSite() {
        Shell shell(test::downServer());
        QVERIFY(shell.appDel.wantHelp());
        QCOMPARE(shell.workspace.opened, std::vector<std::string>{"http://help.invalid/"});
        shell.workspace.opens = false;
        QVERIFY(!shell.appDel.wantHelp());
    }

    void reopenBringsBackAClosedWindow() {
        Shell shell(test::downServer());
        QWidget window;
        window.show();
        window.close();
        QVERIFY(!window.isVisible());
        QVERIFY(shell.appDel.applicationShouldHandleReopen(&window, false));
        QVERIFY(window.isVisible());
        QVERIFY(shell.appDel.applicationShouldHandleReopen(nullptr, false));
    }

    void alertAsSheetReturnsAtOnce() {
        QWidget window;
        window.show();
        AppDelegate::createAlertForInformativeText("informative", "message", true, &window);
        auto* alert = window.findChild<AlertDialog*>();
        QVERIFY(alert);
        QVERIFY(alert->isVisible());
        QCOMPARE(alert->windowModality(), Qt::WindowModal);
        QCOMPARE(alert->findChild<QLabel*>("alertText")->text(), QString("informative"));
        QCOMPARE(alert->findChild<QLabel*>("alertHeading")->text(), QString("message"));
        QCOMPARE(alert->findChildren<QPushButton*>().size(), 1);
        QCOMPARE(alert->button(0)->text(), QString("OK"));
        alert->button(0)->click();
    }

    void alertRunsApplicationModalOverTheWindowUntilOk() {
        QWidget window;
        window.show();
        bool sawModal = false;
        QTimer::singleShot(0, [&] {
            auto* alert = qobject_cast<AlertDialog*>(QApplication::activeModalWidget());
            if (!alert)
                return;
            sawModal = alert->windowModality() == Qt::ApplicationModal &&
                       alert->findChild<QLabel*>("alertHeading")->text() == "message" &&
                       alert->parentWidget() == &window &&
                       alert->detailsText()->toPlainText() == "/a  (b)";
            alert->button(0)->click();
        });
        AppDelegate::createAlertForInformativeText("informative", "message", false, &window,
                                                   nullptr, "/a  (b)");
        QVERIFY(sawModal);
    }

    void secondLaunchReopensTheFirst() {
        const QString name =
            "sentravex-test-" + QString::number(QCoreApplication::applicationPid());
        SingleInstance first(name);
        QVERIFY(!first.notifyRunningInstance()); // nobody runs yet
        QVERIFY(first.listen());
        QSignalSpy reopened(&first, &SingleInstance::reopenRequested);
        SingleInstance second(name);
        QVERIFY(second.notifyRunningInstance());
        QVERIFY(reopened.wait(5000));
    }
};

QTEST_MAIN(AppDelegateTest)
#include "AppDelegateTest.moc"
