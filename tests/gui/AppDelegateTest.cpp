#include "AppDelegate.h"

#include "AlertDialog.h"
#include "InstanceFolder.h"
#include "LocalHttpServer.h"
#include "SettingsDefaults.h"
#include "SingleInstance.h"
#include "platform/LocalSocketTrust.h"
#include "platform/Workspace.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocalServer>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
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

// A running copy on a thread of its own, as another process would be: a launch blocks while it
// waits for the answer.
class RunningCopy {
public:
    explicit RunningCopy(const QString& folder) {
        thread_.start();
        anchor_.moveToThread(&thread_);
        QMetaObject::invokeMethod(
            &anchor_,
            [this, folder] {
                instance_ = new SingleInstance(folder, &anchor_);
                QObject::connect(instance_, &SingleInstance::reopenRequested, &anchor_,
                                 [this] { ++reopened; });
                listening = instance_->listen();
            },
            Qt::BlockingQueuedConnection);
    }
    ~RunningCopy() {
        QMetaObject::invokeMethod(
            &anchor_, [this] { delete instance_; }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }

    std::atomic<bool> listening = false;
    std::atomic<int> reopened = 0;

private:
    QThread thread_;
    QObject anchor_;
    SingleInstance* instance_ = nullptr;
};

} // namespace

class AppDelegateTest : public QObject {
    Q_OBJECT
private slots:
    void remoteFlag_data() {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<FlagServer::Pace>("pace");
        QTest::addColumn<bool>("flag");
        using F = FlagServer;
        const auto whole = F::Pace::Whole;
        QTest::newRow("true") << F::answer("true") << whole << true;
        QTest::newRow("true and a line end") << F::answer("true\n") << whole << false;
        QTest::newRow("capitals") << F::answer("TRUE") << whole << false;
        QTest::newRow("blank before") << F::answer(" true") << whole << false;
        QTest::newRow("empty") << F::answer("") << whole << false;
        QTest::newRow("false") << F::answer("false") << whole << false;
        // The status is not examined: only the body counts.
        QTest::newRow("true with 404") << F::answer("true", "404 Not Found") << whole << true;
        QTest::newRow("chunked") << F::openEnded().replace("\r\n\r\n",
                                                           "\r\nTransfer-Encoding: chunked\r\n\r\n"
                                                           "4\r\ntrue\r\n0\r\n\r\n")
                                 << whole << true;
        // Slow is not wrong: the whole body arrives well within the deadline.
        QTest::newRow("dripped") << F::answer("true") << F::Pace::Drip << true;
    }

    void remoteFlag() {
        QFETCH(QByteArray, response);
        QFETCH(FlagServer::Pace, pace);
        FlagServer server(response, pace, std::chrono::milliseconds(20));
        Shell shell(server.base());
        shell.defaults.setBool("SandboxingDone", true); // left from an earlier run
        QTEST(shell.launch(), "flag");
        QVERIFY(server.request().startsWith("GET /quorvane.txt HTTP/1.1\r\n"));
        QVERIFY(shell.defaults.boolForKey(
            "NSConstraintBasedLayoutVisualizeMutuallyExclusiveConstraints"));
    }

    void remoteFlagFailures_data() {
        QTest::addColumn<bool>("listening");
        QTest::addColumn<std::optional<QByteArray>>("response"); // none: not a word back
        QTest::addColumn<FlagServer::Pace>("pace");
        QTest::addColumn<int>("deadlineMs");
        using F = FlagServer;
        using Answer = std::optional<QByteArray>;
        QTest::newRow("nothing listens") << false << Answer() << F::Pace::Whole << 5000;
        QTest::newRow("silent") << true << Answer() << F::Pace::Whole << 300;
        // A byte every 100 ms: the body would be whole after 400 ms, each byte well within the
        // deadline of the one before.
        QTest::newRow("dripped past the deadline")
            << true << Answer(F::answer("true")) << F::Pace::Drip << 250;
        QTest::newRow("cut short of its length")
            << true << Answer(F::answer("true", "200 OK", 10)) << F::Pace::Whole << 5000;
        // Ends at the cap: long before its deadline, and without reading on.
        QTest::newRow("endless") << true << Answer(F::openEnded() + "true") << F::Pace::Endless
                                 << 60000;
    }

    void remoteFlagFailures() {
        QFETCH(bool, listening);
        QFETCH(std::optional<QByteArray>, response);
        QFETCH(FlagServer::Pace, pace);
        QFETCH(int, deadlineMs);
        FlagServer server(response, pace);
        Shell shell(listening ? server.base() : test::downServer(),
                    std::chrono::milliseconds(deadlineMs));
        shell.defaults.setBool("SandboxingDone", true);
        QVERIFY(!shell.launch());
        if (listening)
            QVERIFY(server.request().startsWith("GET /quorvane.txt"));
        QVERIFY(server.sent() < 64 << 20);
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
        QTemporaryDir runtime; // made for this account alone, as the runtime folder is
        QVERIFY(!SingleInstance(runtime.path()).notifyRunningInstance()); // nobody runs yet
        RunningCopy first(runtime.path());
        QVERIFY(first.listening);
        SingleInstance second(runtime.path());
        QVERIFY(second.notifyRunningInstance());
        QCOMPARE(first.reopened.load(), 1);
    }

    void launchOpensAWindowUnlessACopyAnswers() {
        // Something that takes the connection and says nothing is no running copy.
        QTemporaryDir runtime;
        QLocalServer silent;
        QVERIFY(silent.listen(runtime.filePath("sentravex")));
        SingleInstance launch(runtime.path());
        QVERIFY(!launch.notifyRunningInstance());
        QVERIFY(silent.waitForNewConnection(0));
        // The window that opens then takes the socket over.
        QVERIFY(launch.listen());
    }

    void folderOthersCanWriteInIsNotUsed_data() {
        QTest::addColumn<QFile::Permissions>("permissions");
        QTest::addColumn<bool>("link");
        const auto all = QFile::Permissions(0x7777);
        QTest::newRow("writable by everyone") << all << false;
        QTest::newRow("link to a private folder")
            << (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) << true;
    }

    void folderOthersCanWriteInIsNotUsed() {
        QFETCH(QFile::Permissions, permissions);
        QFETCH(bool, link);
        QTemporaryDir parent;
        const QString real = parent.filePath("real");
        QVERIFY(QDir().mkdir(real));
        QVERIFY(QFile::setPermissions(real, permissions));
        QString folder = real;
        if (link) {
            folder = parent.filePath("link");
            QVERIFY(QFile::link(real, folder));
        }
        // Anyone could have put this here.
        QLocalServer planted;
        QVERIFY(planted.listen(QDir(real).filePath("sentravex")));
        SingleInstance launch(folder);
        QVERIFY(!launch.notifyRunningInstance());
        QVERIFY(!planted.waitForNewConnection(0));
        QVERIFY(!launch.listen());
        QCOMPARE(QDir(real).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList{"sentravex"});
    }

    // "SandboxingDone" and "Library Access" are booleans in the settings (in the defaults domain
    // on macOS), not bytes holding "1"; what older versions wrote still reads.
    void flagsAreWrittenAsBooleans() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("defaults.ini"));
        {
            SettingsDefaults defaults(file);
            defaults.setBool("SandboxingDone", true);
            defaults.setBool("Library Access", false);
            defaults.setValue("Old Flag", "1");
            defaults.setValue("Old No", "0");
            QVERIFY(defaults.boolForKey("SandboxingDone"));
            QVERIFY(!defaults.boolForKey("Library Access"));
            QVERIFY(defaults.boolForKey("Old Flag"));
            QVERIFY(!defaults.boolForKey("Old No"));
            QVERIFY(!defaults.boolForKey("Never Written"));
        }
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray text = written.readAll();
        QVERIFY2(text.contains("SandboxingDone=true"), text.constData());
        QVERIFY2(text.contains("Library%20Access=false"), text.constData());
        QVERIFY(SettingsDefaults(file).boolForKey("SandboxingDone"));
    }

    // The socket's folder is the account's alone, so that a launch can use it; on macOS the
    // account's temporary folder, never Application Support, which keeps data.
    void theInstanceFolderIsTheAccountsAlone() {
        const QString folder = instanceFolder();
        QVERIFY(!folder.isEmpty());
        QVERIFY(isPrivateFolder(QFile::encodeName(folder).toStdString()));
        QVERIFY(!folder.contains(QStringLiteral("Application Support")));
#ifdef Q_OS_MACOS
        QVERIFY(folder.startsWith(QStringLiteral("/var/folders/")) ||
                folder.startsWith(QStringLiteral("/private/var/folders/")));
#endif
        RunningCopy first(folder);
        QVERIFY(first.listening);
        QVERIFY(SingleInstance(folder).notifyRunningInstance());
    }
};

QTEST_MAIN(AppDelegateTest)
#include "AppDelegateTest.moc"
