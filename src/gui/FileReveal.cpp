#include "FileReveal.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace sentravex {

bool openParentFolder(const QString& hostPath) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(hostPath).absolutePath()));
}

} // namespace sentravex
