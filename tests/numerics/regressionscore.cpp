#include "numerics/regressionscore.h"

#include <gtest/gtest.h>

namespace tarvolin {
namespace {

// Shape that moves along a direction d in proportion to x, plus a part that
// does not follow x: the score is x - mean x times |d|, plus the other
// part's share along d, and the line's slope is |d|.
TEST(Regressionscore, ScoresFollowTheDirectionOfChangeWithX) {
  const Eigen::VectorXd x = (Eigen::VectorXd(6) << 1, 2, 3, 4, 5, 6).finished();
  const Eigen::RowVector3d d(0.3, -0.4, 0);  // |d| = 0.5
  const Eigen::VectorXd other = (Eigen::VectorXd(6) << 1, -1, 0, 0, -1, 1).finished();
  Eigen::MatrixXd y(6, 3);
  for (int i = 0; i < 6; ++i)
    y.row(i) = x(i) * d + Eigen::RowVector3d(0, 0, other(i)) + Eigen::RowVector3d(2, 2, 2);
  const RegressionScore s = regressionscore(y, x);
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(s.score(i), 0.5 * (x(i) - 3.5), 1e-12) << i;
  EXPECT_NEAR(s.line(0), 0.5, 1e-12);
  EXPECT_NEAR(s.line(1), -0.5 * 3.5, 1e-12);
}

}  // namespace
}  // namespace tarvolin
