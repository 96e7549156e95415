#include "FileReveal.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QUrl>

namespace sentravex {

// The freedesktop file-manager interface selects the item; a desktop without one (or without a
// session bus) gets the folder.
bool revealFile(const QString& hostPath) {
    auto bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        auto call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
                                                   QStringLiteral("/org/freedesktop/FileManager1"),
                                                   QStringLiteral("org.freedesktop.FileManager1"),
                                                   QStringLiteral("ShowItems"));
        call << QStringList{QUrl::fromLocalFile(hostPath).toString()} << QString();
        // A file manager that is not running is started by the bus: give it a few seconds.
        if (bus.call(call, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage)
            return true;
    }
    return openParentFolder(hostPath);
}

} // namespace sentravex
