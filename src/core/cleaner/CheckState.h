#pragma once

namespace sentravex {

// The three states of a check box, with the numbers the rows store.
enum class CheckState : int { Mixed = -1, Off = 0, On = 1 };

} // namespace sentravex
