#pragma once
// Reads the specimen IDs of a covariate or group table, to match them
// against a data set's specimens without refusing a mismatch: the first
// field of every row, in the file's order.
//
// The table is one that readcovariate and readgroups read (a header row,
// then a row per specimen, comma-, semicolon- or tab-separated by the rules
// of row tables, quoted fields, a byte order mark passed over); `column`
// must be one of its columns, matched as they match it, though its fields
// are not read.
//
//   id,mass,group
//   skull_40,18.49,b      -> {"skull_40", "skull_39"}
//   skull_39,18.10,a
//
// An InputError names the table and, where it applies, the line: a file
// that cannot be read, an empty table, a header alone ("the table has no
// rows below its header"), a column name given twice, an unknown column
// (listing the table's columns), an empty ID, two rows of one specimen
// (both lines), a row too short for the column.
//
// Example:
//   readtableids("skulls_covariates.csv", "mass")   // {"skull_40", "skull_39", ...}

#include <string>
#include <vector>

namespace tarvolin {

std::vector<std::string> readtableids(const std::string& path, const std::string& column);

}  // namespace tarvolin
