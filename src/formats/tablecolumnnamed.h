#pragma once
// The table and column of a TABLE:COLUMN option (--x, --groups): `given` is
// taken as one only when it is not an existing file as a whole and holds a
// colon after its first character; the last colon separates the two, so a
// table's path may hold colons of its own. Nothing otherwise (a file read
// as a list by order, or "cs").
//
// Example:
//   tablecolumnnamed("ages.csv:age")   -> {"ages.csv", "age"}
//   tablecolumnnamed("mass.txt")       -> nothing

#include <optional>
#include <string>

namespace tarvolin {

struct TableColumnName {
  std::string table;
  std::string column;
};

std::optional<TableColumnName> tablecolumnnamed(const std::string& given);

}  // namespace tarvolin
