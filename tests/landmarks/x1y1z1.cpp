#include "landmarks/x1y1z1.h"

#include "landmarks/configstack.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

TEST(X1y1z1, ConfigurationBecomesRowWithSizeLast) {
  Eigen::MatrixXd x(2, 3);
  x << 1, 2, 3, 4, 5, 6;
  Eigen::RowVectorXd expected(7);
  expected << 1, 2, 3, 4, 5, 6, 7;
  EXPECT_TRUE(assert_near(x1y1z1(x, 7), expected, 0));
}

TEST(X1y1z1, OneLandmarkAndPageOfStack) {
  EXPECT_TRUE(assert_near(x1y1z1(Eigen::RowVector3d(-1, 0.5, 2), 3.25),
                          Eigen::RowVector4d(-1, 0.5, 2, 3.25), 0));
  ConfigStack s(2, 2);
  s.page(1) << 10, 20, 30, 40, 50, 60;
  Eigen::RowVectorXd expected(7);
  expected << 10, 20, 30, 40, 50, 60, -1;
  EXPECT_TRUE(assert_near(x1y1z1(s.page(1), -1), expected, 0));
}

}  // namespace
}  // namespace tarvolin
