#include "landmarks/xyzfromvert3.h"

#include <stdexcept>

#include "landmarks/vertxy3D.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

TEST(Xyzfromvert3, OnePageGivesOneRowEndingWithFirstSize) {
  Eigen::MatrixXd config(2, 3);
  config << 1, 2, 3, 4, 5, 6;
  Eigen::RowVectorXd expected(7);
  expected << 1, 2, 3, 4, 5, 6, 8;
  EXPECT_TRUE(assert_near(xyzfromvert3(ConfigStack(config), Eigen::Vector2d(8, 9)), expected, 0));
}

TEST(Xyzfromvert3, PagesBecomeRowsWithTheirSizes) {
  ConfigStack s(1, 3);
  s.page(0) << 1, 2, 3;
  s.page(1) << 4, 5, 6;
  s.page(2) << 7, 8, 9;
  Eigen::MatrixXd expected(3, 4);
  expected << 1, 2, 3, 10, 4, 5, 6, 20, 7, 8, 9, 30;
  EXPECT_TRUE(assert_near(xyzfromvert3(s, Eigen::Vector3d(10, 20, 30)), expected, 0));
}

TEST(Xyzfromvert3, RoundTripThroughStackIsBitForBit) {
  const Eigen::MatrixXd data = Eigen::MatrixXd::Random(17, 3 * 11 + 1) * 1e3;
  const Eigen::MatrixXd back = xyzfromvert3(vertxy3D(data), data.col(data.cols() - 1));
  ASSERT_EQ(back.rows(), data.rows());
  ASSERT_EQ(back.cols(), data.cols());
  EXPECT_TRUE(back == data);
}

TEST(Xyzfromvert3, TooFewSizesIsOutOfRange) {
  const ConfigStack s(2, 3);
  EXPECT_THROW(xyzfromvert3(s, Eigen::Vector2d(1, 2)), std::out_of_range);
  EXPECT_THROW(xyzfromvert3(s, Eigen::VectorXd()), std::out_of_range);
  EXPECT_NO_THROW(xyzfromvert3(s, Eigen::Vector3d(1, 2, 3)));
}

}  // namespace
}  // namespace tarvolin
