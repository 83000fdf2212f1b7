#pragma once
// Says where a text mixes line ends in a way its readers cannot split
// without a guess, for the message of a reader that refused it.
//
// A text's lines end in its own line end (lineendof): LF, with CRLF alike
// (a CR before the LF is a blank), or the lone CR of old Macintosh files,
// with CRLF alike (the LF after the CR is a blank). Mixing LF and CRLF
// (Windows and Unix) is read as it stands. But a lone CR among LF lines, or
// an LF among CR lines, may be a line end or a stray character: the readers
// take it for a blank within its line, so that two lines read as one and
// the reader's message speaks of that line. This names the first such
// place, counting lines as the readers do. A final CR or LF at the end of
// the text (a CR file with a final LF) is no mixing.
//
// text: the file's text, or its start.
// Returns "" when nothing is mixed so, else a sentence to add to the
// reader's message.
//
// Example:
//   mixedlineends("1 2\n3 4\n5 6\r7 8\n")
//     -> "the file mixes line ends: line 3 holds a lone CR (the line end of
//         old Macintosh files) where the other lines end in LF (Unix); it
//         was read as a blank, not a line end: save the file with one kind
//         of line end" (one line)
//   mixedlineends("1 2\r\n3 4\n")  -> ""

#include <string>
#include <string_view>

namespace tarvolin {

std::string mixedlineends(std::string_view text);

}  // namespace tarvolin
