#pragma once
// Tells whether a value is a valid variable name: a text of one row and at
// most 31 characters, a letter first, then letters, digits or underscores,
// and not a keyword (see iskeyword).
//
// s: any value. A number, a record or a list is never a name; nor is a text
// with a line break in it (it is not one row). Letters are the ASCII letters.
// Errors: none.
//
// Example:
//   isvarname(Value("a_1"))   -> true
//   isvarname(Value("1abc"))  -> false
//   isvarname(Value("end"))   -> false (a keyword)

#include "document/value.h"

namespace tarvolin {

bool isvarname(const Value& s);

}  // namespace tarvolin
