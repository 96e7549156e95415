#pragma once

namespace sentravex {

// Names the application to the toolkit and gives its windows the program's icon. Its settings
// then live in the defaults domain of the bundle identifier ("com.sentravex.Sentravex") on macOS,
// under "Sentravex" elsewhere.
void setApplicationIdentity();

} // namespace sentravex
