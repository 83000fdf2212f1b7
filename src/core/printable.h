#pragma once
// A text from a file made safe to show on a terminal or in a window: every
// control character, every C1 control and every byte that is not part of
// valid UTF-8 is written as an escape, so that nothing read from a file can
// move the cursor, change colours or retitle the terminal.
//
// Tab, line feed and carriage return become \t, \n and \r (with keepLayout
// true a line feed and a tab stay as they are: a report or a message of
// several lines); ESC becomes
// \e; other control characters and stray bytes \xNN; the C1 controls
// U+0080 to U+009F \u0080 to \u009f. Everything else, letters of any script
// included, is kept.
//
// Example:
//   printable("skull\x1b[31m_a")          -> "skull\e[31m_a"
//   printable("a\xff")                    -> "a\xff" (as four characters)
//   printable("two\nlines", true)         -> "two\nlines" (unchanged)

#include <string>
#include <string_view>

namespace tarvolin {

std::string printable(std::string_view text, bool keepLayout = false);

namespace detail {
// The length of the valid UTF-8 sequence at text[at], or 0 when the byte
// there starts none.
size_t utf8length(std::string_view text, size_t at);
}  // namespace detail

}  // namespace tarvolin
