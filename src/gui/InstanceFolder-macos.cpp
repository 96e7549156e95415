#include "InstanceFolder.h"

#include <QFile>
#include <unistd.h>

namespace sentravex {

// The account's own temporary folder (/var/folders/…/T/), which only it can enter; Qt's runtime
// location is Application Support, a place for data that is kept, not for sockets.
QString instanceFolder() {
    char path[1024];
    const std::size_t length = ::confstr(_CS_DARWIN_USER_TEMP_DIR, path, sizeof path);
    if (length == 0 || length > sizeof path)
        return {};
    return QFile::decodeName(path);
}

} // namespace sentravex
