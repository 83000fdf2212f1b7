#pragma once
// Whether a table holds R's row names: a header of quoted names with no
// name for the first column, which holds the row names (the specimen IDs),
// quoted. R's write.table (with its defaults) writes tables so.
//
//   "x1" "y1" "x2" "y2"
//   "skull_a" 1.5 2 3 4
//
// text, delimiter: the table and its delimiter (tabledelimiter); fname names
// the file in the errors of a quote left open.
// Returns true when every field of the first line that is not blank is
// quoted, and the next line's first field is quoted and its fields are one
// more than the first line's. The header's names are then the columns
// after the first.
//
// Example:
//   hasrownames("\"x1\",\"y1\"\n\"a\",1,2\n", ',', "a.csv")  -> true
//   hasrownames("id,x1,y1\na,1,2\n", ',', "a.csv")          -> false

#include <string>
#include <string_view>

namespace tarvolin::detail {

bool hasrownames(std::string_view text, char delimiter, const std::string& fname);

}  // namespace tarvolin::detail
