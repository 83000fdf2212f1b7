#include "numerics/standardizegroups.h"

#include <cmath>
#include <random>

#include "core/errors.h"
#include "numerics/standardsize.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

TEST(StandardizeGroups, OneGroupIsStandardsizeExactly) {
  std::mt19937 engine(7);
  std::normal_distribution<double> normal(0.0, 1.0);
  Eigen::MatrixXd data(9, 5);
  Eigen::VectorXd t(9);
  for (Eigen::Index i = 0; i < data.size(); ++i) data(i) = normal(engine);
  for (Eigen::Index j = 0; j < t.size(); ++j) t(j) = 3.0 + normal(engine);

  const Standardized common = standardsize(data, t, 2.75);
  const Standardized pooled = standardizegroups(data, t, 2.75, std::vector<int>(9, 0), {"all"});
  EXPECT_EQ(pooled.y, common.y);
  EXPECT_EQ(pooled.tvect, common.tvect);
}

TEST(StandardizeGroups, TwoSmallGroupsByHand) {
  // Specimens interleaved: group 0 has t (1, 2, 3), column (1, 2, 6); group 1
  // has t (2, 4, 6), column (10, 11, 15).
  //   group 0: tbar 2, ybar 3, sxy (-1)(-2) + 0 + (1)(3) = 5, sxx 2
  //   group 1: tbar 4, ybar 12, sxy (-2)(-2) + 0 + (2)(3) = 10, sxx 8
  //   b = (5 + 10) / (2 + 8) = 1.5
  // With tfixed 2, y = column - 1.5 (t - 2):
  //   group 0: 1 + 1.5, 2, 6 - 1.5 = 2.5, 2, 4.5
  //   group 1: 10, 11 - 3, 15 - 6 = 10, 8, 9
  // Intercept: mean of the column 45/6 = 7.5, mean of t 18/6 = 3, so
  // 7.5 - 1.5 (3 - 2) = 6, the mean of y as well.
  const Eigen::VectorXd t = (Eigen::VectorXd(6) << 1, 2, 2, 4, 3, 6).finished();
  Eigen::MatrixXd data(6, 2);
  data.col(0) << 1, 10, 2, 11, 6, 15;
  data.col(1) << 5, 6, 7, 8, 9, 10;
  const Standardized s = standardizegroups(data, t, 2.0, {0, 1, 0, 1, 0, 1}, {"a", "b"});
  EXPECT_TRUE(
      assert_near(s.y.col(0), (Eigen::VectorXd(6) << 2.5, 10, 2, 8, 4.5, 9).finished(), 1e-13));
  EXPECT_EQ(s.y.col(1), data.col(1));
  EXPECT_TRUE(assert_near(s.tvect, Eigen::RowVector2d(1.5, 6), 1e-13));
}

TEST(StandardizeGroups, ParallelGroupsGiveTheirCommonSlope) {
  // Two groups on parallel lines, slopes 2 and -0.5, the second group higher
  // and at larger x: the slope of all specimens together mixes in the
  // difference between the groups, the pooled slope does not.
  const Eigen::VectorXd t =
      (Eigen::VectorXd(8) << 1.0, 1.7, 2.2, 3.9, 5.1, 6.3, 6.8, 8.4).finished();
  const std::vector<int> groupOf = {0, 0, 0, 0, 1, 1, 1, 1};
  Eigen::MatrixXd data(8, 3);
  for (Eigen::Index j = 0; j < 8; ++j) {
    const double shift = groupOf[static_cast<size_t>(j)] == 1 ? 10.0 : 0.0;
    data(j, 0) = 2.0 * t(j) + 0.5 + shift;
    data(j, 1) = -0.5 * t(j) - 3.0 + shift;
    data(j, 2) = 20.0 + static_cast<double>(j);
  }
  const Standardized pooled = standardizegroups(data, t, 4.0, groupOf, {"small", "large"});
  EXPECT_NEAR(pooled.tvect(0, 0), 2.0, 1e-12);
  EXPECT_NEAR(pooled.tvect(1, 0), -0.5, 1e-12);
  EXPECT_EQ(pooled.y.col(2), data.col(2));
  // Within a group every specimen lands on one value: its line at x = 4.
  EXPECT_NEAR(pooled.y(0, 0), 8.5, 1e-12);
  EXPECT_NEAR(pooled.y(7, 0), 18.5, 1e-12);
  EXPECT_TRUE(
      assert_near(pooled.tvect.col(1).transpose(), pooled.y.leftCols(2).colwise().mean(), 1e-12));

  const Standardized common = standardsize(data, t, 4.0);
  EXPECT_GT(std::abs(common.tvect(0, 0) - 2.0), 0.5);
  EXPECT_GT(std::abs(common.tvect(1, 0) + 0.5), 0.5);
}

TEST(StandardizeGroups, GroupsThatGiveNoSlope) {
  const struct {
    const char* name;
    Eigen::VectorXd t;
    std::vector<int> groupOf;
    double tfixed;
    const char* error;  // nullptr: standardized
  } cases[] = {
      {"one specimen",
       Eigen::Vector4d(1, 2, 3, 4),
       {0, 0, 0, 1},
       2.0,
       "group \"b\" has one specimen; a within-group slope needs two or more"},
      {"constant within both",
       Eigen::Vector4d(1, 2, 1, 2),
       {0, 1, 0, 1},
       2.0,
       "x does not vary within any group; no pooled slope can be fitted"},
      {"far away",
       Eigen::Vector4d(1, 2, 3, 4),
       {0, 0, 1, 1},
       1e20,
       "the standard value 1e+20 lies so far outside the x values (1 to 4)"},
      {"labels for three",
       Eigen::Vector4d(1, 2, 3, 4),
       {0, 0, 1},
       2.0,
       "the groups give 3 labels for 4 specimens"},
      {"constant within one only", Eigen::Vector4d(1, 1, 3, 4), {0, 0, 1, 1}, 2.0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Eigen::MatrixXd data(4, 2);
    data << 1, 5, 2, 6, 4, 7, 3, 8;
    if (c.error != nullptr) {
      EXPECT_THROW_MSG(standardizegroups(data, c.t, c.tfixed, c.groupOf, {"a", "b"}), InputError,
                       c.error);
    } else {
      // Only group 1 gives the slope: (3 - 4) / (4 - 3).
      const Standardized s = standardizegroups(data, c.t, c.tfixed, c.groupOf, {"a", "b"});
      EXPECT_NEAR(s.tvect(0, 0), -1.0, 1e-13);
    }
  }
}

}  // namespace
}  // namespace tarvolin
