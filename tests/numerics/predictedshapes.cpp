#include "numerics/predictedshapes.h"

#include <limits>

#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

// By hand: x = 1, 2, 3 (mean 2); the first coordinate 10, 12, 17 has mean 13
// and slope 3.5, the second is constant, the third falls by 1 per unit.
TEST(Predictedshapes, TheRegressionAtChosenValues) {
  Eigen::MatrixXd coords(3, 3);
  coords << 10, 4, 0, 12, 4, -1, 17, 4, -2;
  const Eigen::Vector3d x(1, 2, 3);
  const struct {
    Eigen::VectorXd at;
    Eigen::MatrixXd expected;
  } cases[] = {
      {Eigen::Vector2d(1, 3), (Eigen::MatrixXd(2, 3) << 9.5, 4, 0, 16.5, 4, -2).finished()},
      {Eigen::VectorXd::Constant(1, 2), (Eigen::MatrixXd(1, 3) << 13, 4, -1).finished()},
      {Eigen::VectorXd::Constant(1, 10), (Eigen::MatrixXd(1, 3) << 41, 4, -9).finished()},
      {Eigen::VectorXd(0), Eigen::MatrixXd(0, 3)},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(assert_near(predictedshapes(coords, x, c.at), c.expected, 1e-12)) << c.at;
  }
}

TEST(Predictedshapes, Refusals) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Eigen::MatrixXd coords = Eigen::MatrixXd::Random(3, 4);
  Eigen::MatrixXd broken = coords;
  broken(1, 2) = nan;
  const struct {
    Eigen::MatrixXd coords;
    Eigen::VectorXd x;
    const char* error;
  } cases[] = {
      {coords, Eigen::Vector2d(1, 2), "2 values of x for 3 specimens"},
      {coords.topRows(1), Eigen::VectorXd::Constant(1, 1), "at least 2 specimens, not 1"},
      {coords, Eigen::Vector3d(2, 2, 2), "x does not vary"},
      {coords, Eigen::Vector3d(1, nan, 2), "x does not vary"},
      {broken, Eigen::Vector3d(1, 2, 3), "coordinate is not a finite number"},
  };
  for (const auto& c : cases) {
    EXPECT_THROW_MSG(predictedshapes(c.coords, c.x, Eigen::Vector2d(1, 2)), std::invalid_argument,
                     c.error);
  }
}

}  // namespace
}  // namespace tarvolin
