#include "FullDiskAccess.h"

namespace sentravex {

bool systemGuardsPrivateData() {
    return true;
}

} // namespace sentravex
