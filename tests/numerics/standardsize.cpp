#include "numerics/standardsize.h"

#include "core/errors.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

TEST(Standardsize, ThreeSpecimenExample) {
  Eigen::MatrixXd data(3, 2);
  data << 10, 1.5, 12, 2.5, 17, 3.5;
  const Standardized s = standardsize(data, Eigen::Vector3d(1, 2, 3), 2.0);
  EXPECT_TRUE(assert_near(s.y.col(0), Eigen::Vector3d(13.5, 12, 13.5), 1e-12));
  EXPECT_TRUE(assert_near(s.tvect, Eigen::RowVector2d(3.5, 13), 1e-12));
}

TEST(Standardsize, PropertiesOfTheStandardizedColumns) {
  // Column 0: exact line in t; column 1: noisy; column 2: the size column.
  const Eigen::VectorXd t = (Eigen::VectorXd(6) << 1.0, 2.5, 3.0, 4.5, 6.0, 7.25).finished();
  Eigen::MatrixXd data(6, 3);
  for (Eigen::Index i = 0; i < 6; ++i) data(i, 0) = 2.0 * t(i) - 1.0;
  data.col(1) << 0.3, -1.2, 0.8, 2.2, 1.1, 0.7;
  data.col(2) << 11, 12, 13, 14, 15, 16;

  const Standardized atMean = standardsize(data, t, t.mean());
  EXPECT_TRUE(assert_near(atMean.y.colwise().mean(), data.colwise().mean(), 1e-13));
  EXPECT_EQ(atMean.y.col(2), data.col(2));

  const Standardized atFour = standardsize(data, t, 4.0);
  EXPECT_TRUE(assert_near(atFour.y.col(0), Eigen::VectorXd::Constant(6, 7.0), 1e-13));
  EXPECT_NEAR(atFour.tvect(0, 0), 2.0, 1e-13);
  EXPECT_NEAR(atFour.tvect(0, 1), 7.0, 1e-13);

  // A specimen whose x is the standard value keeps its coordinates.
  const Standardized atThird = standardsize(data, t, t(2));
  EXPECT_NEAR(atThird.y(2, 0), data(2, 0), 1e-13);
  EXPECT_NEAR(atThird.y(2, 1), data(2, 1), 1e-13);
}

// A data set large enough to be moved on two cores, half the columns each:
// every column, on either side of the split, moves along its own slope, and
// the size column stays.
TEST(Standardsize, EveryColumnOfALargeDataSetMovesAlongItsSlope) {
  const Eigen::Index rows = 1100;
  const Eigen::Index cols = 1001;
  const Eigen::VectorXd t = Eigen::VectorXd::LinSpaced(rows, 1.0, 3.0);
  Eigen::MatrixXd data = Eigen::MatrixXd::Random(rows, cols);
  for (Eigen::Index j = 0; j < cols - 1; ++j) data.col(j) += static_cast<double>(j % 7) * t;
  const Standardized s = standardsize(data, t, 2.5);
  EXPECT_EQ(s.y.col(cols - 1), data.col(cols - 1));
  for (const Eigen::Index j : {Eigen::Index{0}, (cols - 1) / 2 - 1, (cols - 1) / 2, cols - 2}) {
    SCOPED_TRACE(j);
    const Eigen::VectorXd xc = t.array() - t.mean();
    const double slope = xc.dot(data.col(j)) / xc.squaredNorm();
    const Eigen::VectorXd expected = data.col(j).array() - (t.array() - 2.5) * slope;
    EXPECT_TRUE(assert_near(s.y.col(j), expected, 1e-10));
  }
}

TEST(Standardsize, OneColumnPassesThrough) {
  const Eigen::MatrixXd data = Eigen::Vector3d(4, 5, 6);
  const Standardized s = standardsize(data, Eigen::Vector3d(1, 2, 3), 0.0);
  EXPECT_EQ(s.y, data);
  EXPECT_EQ(s.tvect.size(), 0);
}

TEST(Standardsize, RefusesXOfTheWrongLength) {
  EXPECT_THROW_MSG(standardsize(Eigen::MatrixXd::Random(4, 4), Eigen::Vector3d(1, 2, 3), 2.0),
                   InputError, "3 values for 4 specimens");
}

TEST(Standardsize, XWithoutSpreadOrAStandardValueTooFarOutsideIt) {
  const struct {
    const char* name;
    Eigen::Vector3d t;
    double tfixed;
    Eigen::Vector3d column;
    const char* error;  // nullptr: standardized
  } cases[] = {
      {"t all equal", {2, 2, 2}, 2.0, {10, 12, 17}, "same x value; no regression line"},
      {"far above",
       {1, 2, 3},
       1e20,
       {10, 12, 17},
       "the standard value 1e+20 lies so far outside the x values (1 to 3) that the "
       "standardized coordinates cannot be computed"},
      {"far below",
       {1, 2, 3},
       -1e300,
       {10, 12, 17},
       "the standard value -1e+300 lies so far outside the x values (1 to 3)"},
      {"moved beyond the largest number",
       {0, 1, 2},
       -1e10,
       {0, 1e300, 2e300},
       "the standard value -1e+10 lies so far outside the x values (0 to 2)"},
      {"far but computable", {1, 2, 4}, 1e6, {10, 12, 17}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Eigen::MatrixXd data(3, 2);
    data << c.column, Eigen::Vector3d(1.5, 2.5, 3.5);
    if (c.error != nullptr) {
      EXPECT_THROW_MSG(standardsize(data, c.t, c.tfixed), InputError, c.error);
      continue;
    }
    const Standardized s = standardsize(data, c.t, c.tfixed);
    const Eigen::VectorXd tc = c.t.array() - c.t.mean();
    const double slope = tc.dot(c.column) / tc.squaredNorm();
    const Eigen::VectorXd expected = c.column - slope * (c.t.array() - c.tfixed).matrix();
    EXPECT_TRUE(assert_near(s.y.col(0), expected, 1e-6 * expected.cwiseAbs().maxCoeff()));
  }
}

}  // namespace
}  // namespace tarvolin
