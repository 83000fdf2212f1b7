#include "numerics/proposedstandard.h"

#include "tests/testing.h"

namespace tarvolin {
namespace {

TEST(Proposedstandard, MinimumAsFourDecimalsWriteIt) {
  EXPECT_EQ(proposedstandard(Eigen::Vector3d(3.5, 1.23456, 2.0)), 1.2346);
  EXPECT_EQ(proposedstandard(Eigen::Vector2d(-0.00004, 1.0)), -0.0);
  EXPECT_EQ(proposedstandard(Eigen::Vector2d(123456.78916, 200000.0)), 123456.7892);
}

}  // namespace
}  // namespace tarvolin
