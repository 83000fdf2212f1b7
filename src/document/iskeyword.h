#pragma once
// Tells whether a value is one of the 17 reserved keywords, or lists them.
//
// s: any value. Only a text can be a keyword, and only when it equals one of
//   the keywords exactly (letter case included); a number, a record or a list
//   never is.
// Without an argument: the keywords, in this order: break case catch continue
// else elseif end for function global if otherwise persistent return switch
// try while.
// Errors: none.
//
// Example:
//   iskeyword(Value("end"))  -> true
//   iskeyword(Value("End"))  -> false
//   iskeyword().size()       -> 17

#include <string>
#include <vector>

#include "document/value.h"

namespace tarvolin {

bool iskeyword(const Value& s);
std::vector<std::string> iskeyword();

}  // namespace tarvolin
