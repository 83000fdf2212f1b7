#pragma once
// The character that ends the lines of a text file: '\n' for LF and CRLF
// files, '\r' for files whose lines end in a lone CR (old Macintosh
// programs, and some that add a final LF to such a file).
//
// A file has one line end, whichever of LF and lone CR its start (the first
// 64 KB of `text`) uses more often; on a tie, the one met first. Every reader
// splits lines by it, so a stray CR inside the lines of an LF file is a
// blank within its line, not a line end, and a CR file with a final LF is
// still read line by line. A text with neither is one line: '\n'.
//
// Example:
//   lineendof("1 2\r\n3 4\r\n")   -> '\n'
//   lineendof("1 2\r3 4\r5 6\n")  -> '\r'
//   lineendof("a,1\r,2\nb,3,4\n") -> '\n'

#include <string_view>

namespace tarvolin {

char lineendof(std::string_view text);

}  // namespace tarvolin
