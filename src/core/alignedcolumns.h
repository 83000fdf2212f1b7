#pragma once
// Lines of a text table in a fixed-width font: each column as wide as its
// widest cell, two blanks between columns, numbers (`right[c]` set) to the
// right of their column and words to the left, no blanks at a line's end.
//
// Example:
//   alignedcolumns({{"rank", "ID"}, {"1", "skull_12"}}, {true, false})
//   -> {"rank  ID", "   1  skull_12"}

#include <string>
#include <vector>

namespace tarvolin {

std::vector<std::string> alignedcolumns(const std::vector<std::vector<std::string>>& rows,
                                        const std::vector<bool>& right);

}  // namespace tarvolin
