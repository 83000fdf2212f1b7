#pragma once
// A piece of a file's text quoted in a message: in double quotes, made safe
// for a terminal (printable), and at most about 60 characters long, so that
// a line of a megabyte or a binary file gives a message of one short line.
//
// quotedtext(text): the text, or its first 60 characters and "..." when longer.
// quotedtext(text, at): about 60 characters around the byte `at` (30 before and
//   30 from it), with "..." on each side where text was left out: for a
//   fault in the middle of a long line.
// Characters are counted as UTF-8 code points, so no letter is cut in two.
//
// Example:
//   quotedtext("abc")                                 -> "\"abc\""
//   quotedtext(std::string(100, 'x'))                 -> "\"xxx...x...\"" (60 x)
//   quotedtext("id\x1b]0;pwned\x07")                  -> "\"id\e]0;pwned\x07\""

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvolin {

inline constexpr size_t kQuotedCharacters = 60;

std::string quotedtext(std::string_view text);

std::string quotedtext(std::string_view text, size_t at);

}  // namespace tarvolin
