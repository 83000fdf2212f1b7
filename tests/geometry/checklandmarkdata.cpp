#include "geometry/checklandmarkdata.h"

#include "platform/errors.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

TEST(Checklandmarkdata, AcceptsADataSetThatCanBeSuperimposed) {
  EXPECT_NO_THROW(checklandmarkdata(Eigen::MatrixXd::Random(4, 10), "a.txt", true));
}

TEST(Checklandmarkdata, RefusesRowsThatAreNotLandmarksAndSize) {
  EXPECT_THROW_MSG(checklandmarkdata(Eigen::MatrixXd::Random(4, 9), "a.txt", true), InputError,
                   "a.txt:1: has 9 numbers per specimen");
  EXPECT_THROW_MSG(checklandmarkdata(Eigen::MatrixXd::Random(4, 1), "a.txt", true), InputError,
                   "has 1 numbers per specimen");
}

TEST(Checklandmarkdata, NamesASpecimenWithoutSize) {
  Eigen::MatrixXd data = Eigen::MatrixXd::Random(5, 7);
  data.block(3, 0, 1, 6) << 1, 2, 3, 1, 2, 3;
  EXPECT_THROW_MSG(checklandmarkdata(data, "a.txt", true), InputError,
                   "a.txt:4: specimen 4 has all its landmarks at one point");
  EXPECT_THROW_MSG(checklandmarkdata(data, "b.tps", false), InputError,
                   "b.tps: record 4 has all its landmarks at one point");
}

TEST(Checklandmarkdata, FlatDataHaveTwoCoordinatesPerLandmark) {
  EXPECT_NO_THROW(checklandmarkdata(Eigen::MatrixXd::Random(4, 7), "w.txt", true, 2));
  EXPECT_THROW_MSG(checklandmarkdata(Eigen::MatrixXd::Random(4, 8), "w.txt", true, 2), InputError,
                   "w.txt:1: has 8 numbers per specimen; a landmark data set of 2D landmarks has "
                   "2k + 1");
  Eigen::MatrixXd data = Eigen::MatrixXd::Random(3, 5);
  data.block(1, 0, 1, 4) << 2, 5, 2, 5;
  EXPECT_THROW_MSG(checklandmarkdata(data, "w.tps", false, 2), InputError,
                   "w.tps: record 2 has all its landmarks at one point");
}

}  // namespace
}  // namespace tarvolin
