#include "FullDiskAccess.h"

namespace sentravex {

// No privacy rule stands between a program and its own account's files here.
bool systemGuardsPrivateData() {
    return false;
}

} // namespace sentravex
