#pragma once
// Reads one column of a covariate table: a value per specimen, such as its
// age or body mass, to regress shape on.
//
// The format: a table with a header row, comma-, semicolon- or
// tab-separated by the rules of row tables (see readrowtable.h: the first
// line's delimiter, quoted fields, a decimal comma with semicolons). The
// first column holds the specimen IDs, one row per specimen, in any order.
//
//   specimen,age,mass
//   skull_b,12,3.5
//   skull_a,7,2.25
//
// path:   the table file.
// column: the header name of the column to read, matched exactly (blanks
//         around it aside) or, failing that, ignoring letter case when only
//         one column matches so.
// ids:    the specimens of the data set, in its order.
// Returns the column's values as an ids.size() vector, ids[i]'s value at i.
// An InputError names the table and, where it applies, the line: a file that
// cannot be read, a column name given twice, an unknown column (listing the
// table's columns), a
// specimen of ids with no row or a row of a specimen not in ids (listing up
// to 10 and giving the count), two rows of one specimen (both lines), an
// empty ID, a value that is empty, NA or not a number.
//
// Example:
//   Eigen::VectorXd age = readcovariate("ages.csv", "age", {"skull_a", "skull_b"});
//   // age == [7; 12]

#include <Eigen/Core>
#include <string>
#include <vector>

namespace tarvolin {

Eigen::VectorXd readcovariate(const std::string& path, const std::string& column,
                              const std::vector<std::string>& ids);

}  // namespace tarvolin
