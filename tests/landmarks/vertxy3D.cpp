#include "landmarks/vertxy3D.h"

#include <stdexcept>

#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

TEST(Vertxy3D, TwoSpecimensOfOneLandmarkAndSize) {
  Eigen::MatrixXd x(2, 4);
  x << 1, 2, 3, 100, 4, 5, 6, 200;
  const ConfigStack s = vertxy3D(x);
  EXPECT_EQ(s.landmarks(), 1);
  EXPECT_EQ(s.specimens(), 2);
  EXPECT_TRUE(assert_near(s.page(0), Eigen::RowVector3d(1, 2, 3), 0));
  EXPECT_TRUE(assert_near(s.page(1), Eigen::RowVector3d(4, 5, 6), 0));
  // The size column is not in the stack.
  EXPECT_EQ((s.pages().array() >= 100).count(), 0);
}

TEST(Vertxy3D, OneRowGivesOnePageOfLandmarkRows) {
  Eigen::MatrixXd x(1, 7);
  x << 1, 2, 3, 4, 5, 6, 9;
  const ConfigStack s = vertxy3D(x);
  ASSERT_EQ(s.specimens(), 1);
  Eigen::MatrixXd expected(2, 3);
  expected << 1, 2, 3, 4, 5, 6;
  EXPECT_TRUE(assert_near(s.page(0), expected, 0));
  EXPECT_EQ(s(1, 2, 0), 6.0);  // Z of landmark 2
}

TEST(Vertxy3D, ColumnsBeyondWholeLandmarksAreNotRead) {
  const Eigen::MatrixXd wide = Eigen::MatrixXd::Random(3, 11);  // 3k + 2 with k = 3
  const ConfigStack noSize = vertxy3D(wide.leftCols(9));
  EXPECT_EQ(noSize.landmarks(), 3);
  EXPECT_EQ(noSize.specimens(), 3);
  EXPECT_TRUE(vertxy3D(wide.leftCols(10)) == noSize);
  EXPECT_TRUE(vertxy3D(wide) == noSize);
  for (Eigen::Index i = 0; i < 3; ++i) {
    for (Eigen::Index j = 0; j < 3; ++j) {
      for (Eigen::Index c = 0; c < 3; ++c) EXPECT_EQ(noSize(j, c, i), wide(i, 3 * j + c));
    }
  }
}

TEST(Vertxy3D, NoRowsOrTooFewColumnsIsInvalid) {
  EXPECT_THROW(vertxy3D(Eigen::MatrixXd(0, 4)), std::invalid_argument);
  EXPECT_THROW(vertxy3D(Eigen::MatrixXd::Ones(2, 2)), std::invalid_argument);
  EXPECT_THROW(vertxy3D(Eigen::MatrixXd()), std::invalid_argument);
  EXPECT_NO_THROW(vertxy3D(Eigen::MatrixXd::Ones(1, 3)));
}

}  // namespace
}  // namespace tarvolin
