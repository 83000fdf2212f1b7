#include "formats/tablecolumns.h"

#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/testing.h"

namespace tarvolin::detail {
namespace {

// Each header's layout: the dimension, whether the first column holds IDs
// and the last the size, and where each coordinate column goes.
TEST(TableColumns, PlacesColumnsByTheirNames) {
  const struct {
    std::vector<std::string> names;
    int dims;
    bool idColumn, sizeColumn;
    std::vector<Eigen::Index> place;
  } cases[] = {
      {{"id", "x1", "y1", "z1", "x2", "y2", "z2", "size"}, 3, true, true, {0, 1, 2, 3, 4, 5}},
      {{"", "y1", "x1"}, 2, true, false, {1, 0}},
      {{"x1", "y1", "x2", "y2", "Centroid Size"}, 2, false, true, {0, 1, 2, 3}},
      {{"id", "x1", "x2", "y1", "y2"}, 2, true, false, {0, 2, 1, 3}},
      {{"id", "X_10", "Y_10", "X_9", "Y_9"}, 2, true, false, {2, 3, 0, 1}},
      {{"id", "lm2_x", "lm2_y", "lm1_x", "lm1_y", "CS"}, 2, true, true, {2, 3, 0, 1}},
      {{"id", "2.X", "2.Y", "1.X", "1.Y"}, 2, true, false, {2, 3, 0, 1}},
      {{"id", "p1.x", "p1.y", "p1.z"}, 3, true, false, {0, 1, 2}},
      {{"specimen", "zygoma_y", "zygoma_x", "nasion_x", "nasion_y"}, 2, true, false, {1, 0, 2, 3}},
  };
  for (const auto& c : cases) {
    const TableColumns columns = tablecolumns(c.names, "t.csv", 1);
    EXPECT_EQ(columns.dims, c.dims) << c.names[1];
    EXPECT_EQ(columns.idColumn, c.idColumn) << c.names[1];
    EXPECT_EQ(columns.sizeColumn, c.sizeColumn) << c.names[1];
    EXPECT_EQ(columns.place, c.place) << c.names[1];
  }
}

TEST(TableColumns, RefusesNamesThatPlaceNothingOrTwice) {
  const struct {
    std::vector<std::string> names;
    std::string message;
  } cases[] = {
      {{"id", "x1", "y1", "sex"}, "t.csv:1: column 4 \"sex\" is neither a coordinate"},
      {{"id", "V1", "V2"}, "column 2 \"V1\" is neither a coordinate"},
      {{"id", "zygoma", "x1", "y1"}, "column 2 \"zygoma\" is neither"},
      {{"id", "size", "x1", "y1"}, "column 2 \"size\" is neither"},
      {{"id", "x1", "y1", "x1"}, "the header names \"x1\" twice (columns 2 and 4)"},
      {{"id", "x1", "y1", "X1"}, "column 2 \"x1\" and column 4 \"X1\" both name x"},
      {{"id", "x1", "y1", "z1", "x2", "y2"},
       "the header names no z column for the landmark of "
       "column 5 \"x2\""},
      {{"specimen", "landmark", "x", "y"}, "one row per landmark: reshape to one row per specimen"},
      {{"id", "x", "y", "z", "group"}, "one row per landmark: reshape to one row per specimen"},
      {{"id", "cs"}, "the header names no coordinate column"},
  };
  for (const auto& c : cases) {
    EXPECT_THROW_MSG(tablecolumns(c.names, "t.csv", 1), InputError, c.message);
  }
}

}  // namespace
}  // namespace tarvolin::detail
