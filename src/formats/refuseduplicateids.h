#pragma once
// Refuses a table whose rows share a specimen ID.
//
// ids, lines: the ID and line of each row, in row order; bareAxes: the
// header named x, y (z) columns alone (tablecolumns), where a repeated ID
// means one row per landmark.
// Throws InputError naming the file and the later line of the first pair.
//
// Example:
//   refuseduplicateids({"a", "b", "a"}, {2, 3, 4}, false, "t.csv");
//   // throws: t.csv, line 4: specimen "a" is on line 2 and line 4; ...

#include <string>
#include <vector>

namespace tarvolin {

void refuseduplicateids(const std::vector<std::string>& ids, const std::vector<long>& lines,
                        bool bareAxes, const std::string& fname);

}  // namespace tarvolin
