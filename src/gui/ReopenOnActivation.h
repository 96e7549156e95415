#pragma once

class QWidget;

namespace sentravex {

class AppDelegate;

// A click on the Dock icon starts no second copy on macOS: the running one only becomes active.
// Becoming active with none of its windows on screen then shows the window again, as a reopen
// does.
void reopenOnActivation(AppDelegate& appDel, QWidget& window);

} // namespace sentravex
