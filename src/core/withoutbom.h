#pragma once
// The text of a file without the UTF-8 byte-order mark that spreadsheets and
// some editors write at its start; a file saved as UTF-16 refused by name.
//
// start: the file's text, or its start (the first line is enough).
// fname: names the file in the error.
// Returns `start` past a UTF-8 byte-order mark. A UTF-16 file (its
// byte-order mark, or the zero bytes of UTF-16 text without one) is an
// InputError naming the file: "is UTF-16 text; save it as UTF-8".
//
// Example:
//   withoutbom("\xEF\xBB\xBF" "1 2 3\n", "a.txt")  -> "1 2 3\n"
//   withoutbom("\xFF\xFE" "1\0 \0", "a.txt")       -> InputError

#include <string>
#include <string_view>

namespace tarvolin {

std::string_view withoutbom(std::string_view start, const std::string& fname);

}  // namespace tarvolin
