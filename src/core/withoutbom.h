#pragma once
// The text of a file without the UTF-8 byte-order mark that spreadsheets and
// some editors write at its start; a file saved as UTF-16 refused by name.
//
// start: the file's text, or its start (the first line is enough).
// fname: names the file in the error.
// Returns `start` past a UTF-8 byte-order mark. A UTF-16 file (its
// byte-order mark, or the zero bytes of UTF-16 text without one: every
// other byte) is an InputError naming the file: "is UTF-16 text; save it as
// UTF-8". Other zero bytes at the start (a file of them) are an InputError
// that says the file is not a text file.
//
// Example:
//   withoutbom("\xEF\xBB\xBF" "1 2 3\n", "a.txt")  -> "1 2 3\n"
//   withoutbom("\xFF\xFE" "1\0 \0", "a.txt")       -> InputError (UTF-16)
//   withoutbom("\0\0\0\0", "a.txt")                -> InputError (not text)

#include <string>
#include <string_view>

namespace tarvolin {

std::string_view withoutbom(std::string_view start, const std::string& fname);

}  // namespace tarvolin
