#pragma once
// Reads the rows of a covariate or group table, to match them against a
// data set's specimens and look them over without refusing what the data
// check reports: each row's ID (its first field), its line and its field
// of `column`, in the file's order, a specimen's repeated rows included.
//
// The table is one that readcovariate and readgroups read (a header row,
// then a row per specimen, comma-, semicolon- or tab-separated by the rules
// of row tables, quoted fields, a byte order mark passed over); `column`
// must be one of its columns, matched as they match it.
//
//   id,mass,group
//   skull_40,18.49,b      -> ids {"skull_40", "skull_39"}, lines {2, 3},
//   skull_39,n/a,a           values {"18.49", "n/a"}; with numbers: notNumbers {1}
//
// numbers: the column is a covariate (--x): notNumbers lists the rows
// (from 0) whose field is not a finite number by readcovariate's rule (an
// empty field or NA among them). A group column holds labels, any text.
//
// An InputError names the table and, where it applies, the line: a file
// that cannot be read, an empty table, a header alone ("the table has no
// rows below its header"), a column name given twice, an unknown column
// (listing the table's columns), an empty ID, a row too short for the
// column.
//
// Example:
//   readtableids("skulls_covariates.csv", "mass").ids   // {"skull_40", "skull_39", ...}

#include <cstddef>
#include <string>
#include <vector>

namespace tarvolin {

struct TableIdRows {
  std::string column;               // as the table's header spells it
  std::vector<std::string> ids;     // each row's, in the file's order
  std::vector<long> lines;          // each row's line
  std::vector<std::string> values;  // each row's field of the column
  std::vector<size_t> notNumbers;   // with numbers: rows whose field is not a number
};

TableIdRows readtableids(const std::string& path, const std::string& column, bool numbers = false);

}  // namespace tarvolin
