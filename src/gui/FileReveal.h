#pragma once

#include <QString>

namespace sentravex {

// Shows a file of this machine in the desktop's file viewer with the file selected; where no
// viewer takes that request, opens the folder holding it. False when nothing opened it. One
// implementation per operating system.
bool revealFile(const QString& hostPath);

// The fallback: the folder holding the file, opened as any folder is.
bool openParentFolder(const QString& hostPath);

} // namespace sentravex
