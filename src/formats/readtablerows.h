#pragma once
// Reads the rows of a table keyed by specimen ID, for the readers of
// covariates, groups and table IDs: each row's ID and its field of one
// column, in the file's order. Internal to the shapes layer.
//
// The table: a header row, then one row per specimen, comma-, semicolon-,
// tab- or blank-separated by the rules of row tables (readrowtable.h); the
// first column holds the IDs (R's row names, under no name of their own,
// alike). `column` is matched exactly (blanks around it
// aside) or, failing that, ignoring letter case when only one column
// matches so.
//
//   specimen,age        -> ids {"skull_b", "skull_a"}, texts {"12", "7"},
//   skull_b,12             lines {2, 3}
//   skull_a,7
//
// check(column, text, line, id) is called for the column's field of every
// row, in the file's order (column.name and column.delimiter are known by
// then), and throws the InputError of a field it refuses.
// An InputError names the table and, where it applies, the line: a file
// that cannot be read, an empty table, a column name given twice, an
// unknown column (listing the table's columns), an empty ID, two rows of
// one specimen (both lines; kept, each, with `repeats`), a row too short for the column; where the
// table mixes line ends so that two rows read as one (mixedlineends), the
// message says so. A table of a header alone gives no rows.
//
// Example:
//   TableRows r = readtablerows("ages.csv", "age", [](auto&&...) {});
//   r.ids[0]   // "skull_b"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvolin::detail {

struct TableColumn {
  std::string name;                // the column's header, as the table spells it
  char delimiter = ',';            // the table's delimiter
  std::vector<std::string> texts;  // the field of each specimen asked for
};

using TableFieldCheck = std::function<void(const TableColumn& column, std::string_view text,
                                           long line, const std::string& id)>;

struct TableRows {
  TableColumn column;            // texts: the column's field of each row
  std::vector<std::string> ids;  // each row's ID, in the file's order
  std::vector<long> lines;       // each row's line
};

TableRows readtablerows(const std::string& path, const std::string& column,
                        const TableFieldCheck& check, bool repeats = false);

}  // namespace tarvolin::detail
