#include "AppDelegate.h"
#include "AppIdentity.h"
#include "CustomWindow.h"
#include "GuiFakes.h"
#include "MacFixture.h"
#include "QtOpenPanel.h"
#include "QtWorkspace.h"
#include "ReopenOnActivation.h"
#include "SettingsDefaults.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <set>

using namespace sentravex;
using sentravex::test::MacFixture;
using sentravex::test::RecordingWorkspace;

class MacAppTest : public QObject {
    Q_OBJECT
public slots:
    void fileOpened(const QUrl& url) { opened.append(url); }

private slots:
    void initTestCase() {
        // No session bus: no file manager can be asked to select anything.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/sentravex-bus");
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "fileOpened");
    }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    void activationWithNoWindowShownShowsTheWindow() {
        QTemporaryDir settings;
        SettingsDefaults defaults(settings.filePath(QStringLiteral("settings.ini")));
        RecordingWorkspace workspace;
        AppDelegate appDel(defaults, workspace, {QStringLiteral("http://127.0.0.1:9"), {}});
        QWidget window;
        reopenOnActivation(appDel, window);

        emit qApp->applicationStateChanged(Qt::ApplicationInactive);
        QVERIFY(!window.isVisible());
        emit qApp->applicationStateChanged(Qt::ApplicationActive);
        QVERIFY(window.isVisible());

        // Another window of the program on screen: the user is at work there.
        window.hide();
        QWidget other;
        other.show();
        emit qApp->applicationStateChanged(Qt::ApplicationActive);
        QVERIFY(!window.isVisible());
    }

    void revealWithoutAFileManagerOpensTheFolder() {
#ifdef Q_OS_MACOS
        QSKIP("Finder's \"open -R\" reveals the file on macOS; the file-manager fallback is "
              "Linux's");
#endif
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("Quorvane.plist"));
        opened.clear();
        QVERIFY(QtWorkspace().selectFile(file.toStdString()));
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(dir.path())});
    }

    // The chooser says what it asks for inside itself, and starts where the home folder lies
    // inside the root, through a link if it is one.
    void theChooserShowsItsMessageAndStartsAtTheHomeFolder() {
#ifdef Q_OS_MACOS
        QSKIP(
            "macOS shows its own folder panel, which a test cannot drive; Qt's dialog is Linux's");
#endif
        MacFixture mac;
        mac.folder("/Volumes/Data/alice").link(mac.home(), "/Volumes/Data/alice");
        QtOpenPanel panel{Root(mac.root())};
        OpenPanelSettings settings;
        settings.prompt = "Confirm Access";
        settings.message = "Give access for scanning in your User Directory";
        settings.directory = mac.home();
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* message = dialog->findChild<QLabel*>(QStringLiteral("openPanelMessage"));
            QVERIFY(message);
            QCOMPARE(message->text(), QString::fromStdString(settings.message));
            QVERIFY(message->isVisible());
            QCOMPARE(QFileInfo(dialog->directory().path()).canonicalFilePath(),
                     QFileInfo(QString::fromStdString(mac.host("/Volumes/Data/alice")))
                         .canonicalFilePath());
            seen = true;
            dialog->reject();
        });
        QCOMPARE(panel.runModal(settings).response, 0L);
        QVERIFY(seen);
    }

    void theApplicationCarriesItsIdentityAndIcon() {
        setApplicationIdentity();
        // On macOS the settings' domain is the reversed domain and the name: the bundle's own.
        QCOMPARE(QCoreApplication::organizationDomain(), QString("sentravex.com"));
        QCOMPARE(QCoreApplication::applicationName(), QString("Sentravex"));
        QCOMPARE(QApplication::windowIcon().availableSizes(), QList<QSize>{QSize(1024, 1024)});
        CustomWindow window;
        QVERIFY(!window.windowIcon().isNull());
    }

    void theBundleIconHoldsEverySizeFrom16To1024() {
        QImageReader reader(QStringLiteral(SENTRAVEX_ICON_DIR "/Sentravex.icns"));
        QVERIFY2(reader.canRead(), qPrintable(reader.errorString()));
        std::set<int> sides;
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
            QCOMPARE(image.width(), image.height());
            // Not a blank square: the drawing's dark tile and red shield are both there.
            QVERIFY(image.pixelColor(image.width() / 2, image.height() / 2).red() > 150);
            QVERIFY(image.pixelColor(image.width() / 8, image.height() / 2).red() < 80);
            sides.insert(image.width());
        }
        QCOMPARE(sides, (std::set<int>{16, 32, 48, 128, 256, 512, 1024}));
    }

private:
    QList<QUrl> opened;
};

QTEST_MAIN(MacAppTest)
#include "MacAppTest.moc"
