#include "numerics/checklandmarkdata.h"

#include <limits>
#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

// Random coordinates and a size column above 0.
Eigen::MatrixXd randomData(Eigen::Index rows, Eigen::Index cols) {
  Eigen::MatrixXd data = Eigen::MatrixXd::Random(rows, cols);
  data.col(cols - 1) = data.col(cols - 1).cwiseAbs().array() + 0.5;
  return data;
}

TEST(Checklandmarkdata, AcceptsADataSetThatCanBeSuperimposed) {
  EXPECT_NO_THROW(checklandmarkdata(randomData(4, 10), "a.txt", true));
}

TEST(Checklandmarkdata, RefusesRowsThatAreNotLandmarksAndSize) {
  EXPECT_THROW_MSG(checklandmarkdata(randomData(4, 9), "a.txt", true), InputError,
                   "a.txt:1: has 9 numbers per specimen");
  EXPECT_THROW_MSG(checklandmarkdata(randomData(4, 1), "a.txt", true), InputError,
                   "has 1 numbers per specimen");
}

TEST(Checklandmarkdata, NamesASpecimenWithoutSize) {
  Eigen::MatrixXd data = randomData(5, 7);
  data.block(3, 0, 1, 6) << 1, 2, 3, 1, 2, 3;
  EXPECT_THROW_MSG(checklandmarkdata(data, "a.txt", true), InputError,
                   "a.txt:4: specimen 4 has all its landmarks at one point");
  EXPECT_THROW_MSG(checklandmarkdata(data, "b.tps", false), InputError,
                   "b.tps: record 4 has all its landmarks at one point");
}

TEST(Checklandmarkdata, FlatDataHaveTwoCoordinatesPerLandmark) {
  EXPECT_NO_THROW(checklandmarkdata(randomData(4, 7), "w.txt", true, 2));
  EXPECT_THROW_MSG(checklandmarkdata(randomData(4, 8), "w.txt", true, 2), InputError,
                   "w.txt:1: has 8 numbers per specimen; a landmark data set of 2D landmarks has "
                   "2k + 1");
  Eigen::MatrixXd data = randomData(3, 5);
  data.block(1, 0, 1, 4) << 2, 5, 2, 5;
  EXPECT_THROW_MSG(checklandmarkdata(data, "w.tps", false, 2), InputError,
                   "w.tps: record 2 has all its landmarks at one point");
}

// A large data set is checked a block of specimens at a time, on two cores
// by turns; whichever core meets its fault first, the message names the
// first faulty specimen of the file, and every kind of fault is found in
// any block.
TEST(Checklandmarkdata, NamesTheFirstFaultOfALargeDataSet) {
  const double huge = std::numeric_limits<double>::max();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    std::vector<Eigen::Index> faulty;  // rows made faulty, in any order
    double value;                      // put into each faulty row's coordinates
    bool sizeColumn;                   // into the size column instead
    std::string message;
  };
  for (const Case& c : {
           Case{{20, 40}, 0.5, false, "a.txt:21: specimen 21 has all its landmarks at one point"},
           Case{{40, 60}, 0.5, false, "a.txt:41: specimen 41 has all its landmarks at one point"},
           Case{{3, 90}, 0.5, false, "a.txt:4: specimen 4 has all its landmarks"},
           Case{{95}, 0.5, false, "a.txt:96: specimen 96 has all its landmarks"},
           Case{{70, 33}, huge, false, "a.txt:34: specimen 34 has coordinates so large"},
           Case{{50, 17}, inf, true, "a.txt:18: specimen 18 has a size too large to represent"},
       }) {
    SCOPED_TRACE(c.message);
    Eigen::MatrixXd data = randomData(100, 3 * 20 + 1);
    for (const Eigen::Index row : c.faulty) {
      if (c.sizeColumn) {
        data(row, 60) = c.value;
      } else if (c.value == 0.5) {
        data.block(row, 0, 1, 60).setConstant(c.value);
      } else {
        data(row, 0) = c.value;
        data(row, 3) = -c.value;
      }
    }
    EXPECT_THROW_MSG(checklandmarkdata(data, "a.txt", true), InputError, c.message);
  }
}

TEST(Checklandmarkdata, RefusesSizesAndLandmarkCountsThatCannotBeStandardized) {
  const double tiny = 1e-200;
  const struct {
    Eigen::MatrixXd data;
    int dims;
    std::string message;
  } cases[] = {
      {(Eigen::MatrixXd(2, 4) << 1, 2, 3, 5, 4, 5, 6, 5).finished(), 3,
       "z.txt:1: has 1 landmark per specimen; a specimen needs at least 2 landmarks"},
      {(Eigen::MatrixXd(2, 3) << 1, 2, 5, 4, 5, 5).finished(), 2,
       "a specimen needs at least 2 landmarks"},
      {(Eigen::MatrixXd(2, 7) << 0, 0, 0, 1, 0, 0, 2, 0, 0, 0, 1, 1, 0, 0).finished(), 3,
       "z.txt:2: specimen 2 has the size 0 in its last column; a size must be above 0"},
      {(Eigen::MatrixXd(2, 7) << 0, 0, 0, 1, 0, 0, -2.5, 0, 0, 0, 1, 1, 0, 1).finished(), 3,
       "z.txt:1: specimen 1 has the size -2.5 in its last column"},
      {(Eigen::MatrixXd(2, 7) << 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, tiny, tiny, 0, 1).finished(), 3,
       "z.txt:2: specimen 2 has coordinates so small that its centroid size underflows to 0"},
      {(Eigen::MatrixXd(1, 7) << 0, 0, 0, 1e-170, 0, 0, 1).finished(), 3,
       "specimen 1 has coordinates so small that its centroid size underflows"},
      {(Eigen::MatrixXd(1, 7) << 2, 2, 2, 2, 2, 2, 1).finished(), 3,
       "specimen 1 has all its landmarks at one point"},
  };
  for (const auto& c : cases) {
    EXPECT_THROW_MSG(checklandmarkdata(c.data, "z.txt", true, c.dims), InputError, c.message);
  }
  EXPECT_NO_THROW(checklandmarkdata((Eigen::MatrixXd(1, 7) << 0, 0, 0, 1e-150, 0, 0, 1).finished(),
                                    "z.txt", true));
}

}  // namespace
}  // namespace tarvolin
