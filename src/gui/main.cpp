#include "AppDelegate.h"
#include "AppIdentity.h"
#include "CustomWindow.h"
#include "InstanceFolder.h"
#include "QtWorkspace.h"
#include "ReopenOnActivation.h"
#include "SettingsDefaults.h"
#include "SingleInstance.h"
#include "ViewController.h"
#include "platform/Account.h"
#include "platform/OpenFileLimit.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QShortcut>
#include <iostream>

using namespace sentravex;

namespace {

int usageError(const QString& message) {
    std::cerr << "sentravex: " << message.toStdString() << std::endl;
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    raiseOpenFileLimit(); // a deep walk keeps many folders open
    QApplication app(argc, argv);
    setApplicationIdentity();
    app.setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Finds and removes every trace of Quorvane; cleans private data."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption rootOption(QStringLiteral("root"),
                                        QStringLiteral("Folder laid out like a Mac disk."),
                                        QStringLiteral("DIR"), QStringLiteral("/"));
    const QCommandLineOption userOption(QStringLiteral("user"),
                                        QStringLiteral("Login name whose home folder to use."),
                                        QStringLiteral("NAME"));
    const QCommandLineOption serverOption(QStringLiteral("config-server"),
                                          QStringLiteral("Base URL of the configuration server."),
                                          QStringLiteral("URL"));
    parser.addOptions({rootOption, userOption, serverOption});
    parser.process(app);

    const QString root = parser.value(rootOption);
    if (!QFileInfo(root).isDir())
        return usageError(QStringLiteral("not a folder: ") + root);
    std::string user = parser.value(userOption).toStdString();
    if (user.empty())
        user = loginName();
    if (!validLoginName(user))
        return usageError(QStringLiteral("not a login name: ") + QString::fromStdString(user) +
                          QStringLiteral(" (give --user)"));

    SingleInstance instance(instanceFolder());
    if (instance.notifyRunningInstance())
        return 0;
    instance.listen();

    SettingsDefaults defaults;
    QtWorkspace workspace;
    QString configServer = QStringLiteral(SENTRAVEX_CONFIG_SERVER);
    if (auto setting = defaults.value("ConfigServer"))
        configServer = QString::fromStdString(*setting);
    if (parser.isSet(serverOption))
        configServer = parser.value(serverOption);
    AppDelegate appDel(defaults, workspace, {configServer, QStringLiteral(SENTRAVEX_HELP_SITE)});

    CustomWindow window;
    ViewController::Options options;
    options.root = root.toStdString();
    options.user = user;
    options.configServer = configServer.toStdString();
    options.services.defaults = &defaults;
    options.services.workspace = &workspace;
    auto* viewController = new ViewController(options, &window);
    viewController->setAppDelegate(&appDel);
    window.setContentView(viewController);
    window.resize(860, 600);
    auto* quit = new QShortcut(QKeySequence::Quit, &window);
    QObject::connect(quit, &QShortcut::activated, &app, &QApplication::quit);

    QObject::connect(&instance, &SingleInstance::reopenRequested, &appDel,
                     [&] { appDel.applicationShouldHandleReopen(&window, window.isVisible()); });
#ifdef Q_OS_MACOS
    reopenOnActivation(appDel, window);
#endif
    QObject::connect(&app, &QApplication::aboutToQuit, &appDel,
                     [&] { appDel.applicationWillTerminate(); });

    window.show();
    appDel.applicationDidFinishLaunching();
    return app.exec();
}
