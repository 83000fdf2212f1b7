#include "numerics/centsize3Da.h"

#include <cmath>

#include "geometrytesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

TEST(Centsize3Da, RightTriangleInThePlane) {
  Eigen::MatrixXd x(3, 3);
  x << 0, 0, 0, 1, 0, 0, 0, 1, 0;
  EXPECT_NEAR(centsize3Da(x), std::sqrt(4.0 / 3.0), 1e-15);
}

TEST(Centsize3Da, ZeroWhenLandmarksCoincide) {
  EXPECT_EQ(centsize3Da(Eigen::MatrixXd::Constant(5, 3, 2.5)), 0.0);
  EXPECT_EQ(centsize3Da(Eigen::RowVector3d(1, 2, 3)), 0.0);
}

TEST(Centsize3Da, IgnoresPositionAndOrientationAndScalesLinearly) {
  std::mt19937 engine(1);
  const Eigen::MatrixXd x = testing::randomConfiguration(engine, 9);
  const double size = centsize3Da(x);
  const Eigen::MatrixXd moved =
      (x * testing::randomRotation(engine)).rowwise() + Eigen::RowVector3d(5, -7, 100);
  EXPECT_NEAR(centsize3Da(moved), size, 1e-12);
  EXPECT_NEAR(centsize3Da(3.5 * x), 3.5 * size, 1e-12);
}

}  // namespace
}  // namespace tarvolin
