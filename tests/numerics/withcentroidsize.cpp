#include "numerics/withcentroidsize.h"

#include <cmath>

#include "tests/testing.h"

namespace tarvolin {
namespace {

TEST(Withcentroidsize, SizeColumnIsCentroidSizeTimesScale) {
  Eigen::MatrixXd rows(2, 6);
  rows << 0, 0, 0, 3, 4, 0,  //
      1, 1, 1, 1, 1, 1;
  const Eigen::MatrixXd data = withcentroidsize(rows, Eigen::Vector2d(2.0, 1.0));
  ASSERT_EQ(data.cols(), 7);
  EXPECT_EQ(data.leftCols(6), rows);
  // Two landmarks 5 apart lie 2.5 from their centroid: size sqrt(2 x 2.5^2).
  EXPECT_NEAR(data(0, 6), 2.0 * std::sqrt(12.5), 1e-14);
  EXPECT_EQ(data(1, 6), 0.0);
}

}  // namespace
}  // namespace tarvolin
