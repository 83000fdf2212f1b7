#pragma once
// Reads one column of a table keyed by specimen ID, for the readers of
// covariates and groups. Internal to the shapes layer.
//
// The table: a header row, then one row per specimen, comma-, semicolon- or
// tab-separated by the rules of row tables (readrowtable.h); the first
// column holds the IDs, in any order. `column` is matched exactly (blanks
// around it aside) or, failing that, ignoring letter case when only one
// column matches so.
//
// check(column, text, line, id) is called for the column's field of every
// row, in the file's order (column.name and column.delimiter are known by
// then), and throws the InputError of a field it refuses.
// Returns, for each of `ids` (a specimen listed twice takes the row of its
// first listing), the field's text. An InputError names the table and,
// where it applies, the line: a file that cannot be read, an empty table, a
// column name given twice, an unknown column (listing the table's columns),
// an empty ID, two rows of one specimen (both lines), a row too short for
// the column, a specimen of ids with no row or a row of a specimen not in
// ids (listing up to 10 and giving the count).
//
// Example:
//   TableColumn c = readtablecolumn("ages.csv", "age", {"skull_a"}, check);
//   c.texts[0]   // "7"

#include <string>
#include <vector>

#include "formats/readtablerows.h"

namespace tarvolin::detail {

TableColumn readtablecolumn(const std::string& path, const std::string& column,
                            const std::vector<std::string>& ids, const TableFieldCheck& check);

}  // namespace tarvolin::detail
