#pragma once

#include <QString>

namespace sentravex {

// The folder of this account alone where the running copy's socket lives (SingleInstance). One
// implementation per operating system.
QString instanceFolder();

} // namespace sentravex
