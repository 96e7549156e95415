#pragma once

#include <string>
#include <string_view>

namespace sentravex {

// A name or path as a terminal line may show it: whatever could end the line, move the cursor or
// start a terminal sequence is written as an escape, so one find stays one line and the terminal
// shows only what was named. A backslash is "\\"; line feed, carriage return, tab, escape, bell,
// backspace, form feed and vertical tab are "\n", "\r", "\t", "\e", "\a", "\b", "\f", "\v"; every
// other control character (C0, DEL, and C1 written in UTF-8) and every byte that is not valid
// UTF-8 is "\xNN", byte by byte. Any other valid UTF-8 stays as it is.
std::string terminalText(std::string_view text);

} // namespace sentravex
