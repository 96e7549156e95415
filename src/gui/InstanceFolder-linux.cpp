#include "InstanceFolder.h"

#include <QStandardPaths>

namespace sentravex {

// XDG_RUNTIME_DIR: made for the session, the account's alone.
QString instanceFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

} // namespace sentravex
