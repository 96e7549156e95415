#include "FileReveal.h"

#include <QProcess>

namespace sentravex {

// Finder selects the item itself; the folder is the fallback when the tool cannot be started.
bool revealFile(const QString& hostPath) {
    return QProcess::startDetached(QStringLiteral("/usr/bin/open"),
                                   {QStringLiteral("-R"), hostPath}) ||
           openParentFolder(hostPath);
}

} // namespace sentravex
