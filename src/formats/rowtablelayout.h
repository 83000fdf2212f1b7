#pragma once
// The layout of a row table (readrowtable.h), from its first row: whether
// it is a header, which columns hold the ID, the coordinates (and in what
// order) and the size, and the dimension. A quoted header followed by rows
// of one field more whose first is quoted, as R writes its row names, has
// the IDs in that first, unnamed column.
//
// text, delimiter: the table and its delimiter (tabledelimiter); fname names
// the file in errors; options as readrowtable's.
// Throws InputError naming the file and line for a table of no rows, a
// header tablecolumns refuses, a value count that does not make landmarks,
// or no coordinate column.
//
// Example:
//   RowTableLayout layout = rowtablelayout("id,x1,y1\na,1,2\n", ',', "two.csv", {});
//   // layout.header, layout.dims == 2, layout.columns == 2

#include <Eigen/Core>
#include <string>
#include <string_view>
#include <vector>

#include "formats/readcoordinate.h"

namespace tarvolin {

struct RowTableLayout {
  int dims = 3;
  bool header = false;
  bool idColumn = true;
  bool sizeColumn = false;
  bool bareAxes = false;
  bool rowNames = false;            // the header has no name for the ID column (R's row names)
  std::vector<Eigen::Index> place;  // empty: the coordinates are in the file's order
  long firstLine = 0;
  long fields = 0;   // of the first row
  long columns = 0;  // coordinate columns
};

RowTableLayout rowtablelayout(std::string_view text, char delimiter, const std::string& fname,
                              const ReadOptions& options);

}  // namespace tarvolin
