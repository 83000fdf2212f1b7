#pragma once
// Where the columns of a landmark table's header put their values, told by
// the columns' names. Internal to the readers of row tables.
//
// The names: the specimen IDs' column first, unless the first name is a
// coordinate's; coordinates named by a landmark and an axis, the axis a lone
// x, y or z at the start or the end of the name (x1, Y_1, lm1_z, 1.X,
// zygoma_x; not the z of "zygoma"), in any order (x1 x2 y1 y2, y1 x1); a
// last column named size, cs or centroid size (any case). Landmarks are in
// the order of their numbers when every landmark name is one number with
// the same text around it (x1 ... x12, lm01_x ...), else in the order they
// first appear. A z column makes the table 3D, x and y alone 2D.
//
//   id,y1,x1,y2,x2,cs    -> 2D; value columns placed at 1 0 3 2; size last
//
// names: the header's fields, blanks around them and quotes removed.
// fname, line: name the table and the header's line in errors.
// Returns the layout. An InputError names the file, the line and the column:
// a name that is none of these ("column 5 \"sex\" is neither ..."), a name
// given twice or two names of one coordinate, a landmark without one of the
// table's axes, a header with no coordinate column, and a table of one row
// per landmark (bare x, y, z columns beside a landmark column: "one row per
// landmark: reshape to one row per specimen").
//
// Example:
//   TableColumns c = tablecolumns({"id", "y1", "x1"}, "a.csv", 1);
//   // c.dims == 2, c.idColumn, !c.sizeColumn, c.place == {1, 0}

#include <Eigen/Core>
#include <string>
#include <vector>

namespace tarvolin::detail {

struct TableColumns {
  int dims = 3;
  bool idColumn = true;     // the first column holds the specimen IDs
  bool sizeColumn = false;  // the last column holds the size
  // For each coordinate column, in the file's order: its column in the set's
  // coordinates, landmark * dims + axis.
  std::vector<Eigen::Index> place;
  // One landmark named by bare x, y (z) columns: the table may hold one row
  // per landmark, which IDs seen twice then show.
  bool bareAxes = false;
};

TableColumns tablecolumns(const std::vector<std::string>& names, const std::string& fname,
                          long line);

// True when `name` is a coordinate's column name (x1, Y_1, lm1_z, ...).
bool iscoordinatename(std::string_view name);

}  // namespace tarvolin::detail
