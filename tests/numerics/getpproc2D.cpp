#include "numerics/getpproc2D.h"

#include "geometrytesting.h"
#include "numerics/centsize3Da.h"
#include "numerics/getpproc3.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

Eigen::MatrixXd flatShape(std::mt19937& engine, Eigen::Index landmarks) {
  return testing::randomConfiguration(engine, landmarks).leftCols(2);
}

// Turned, moved and resized copies of one shape; the last one mirrored
// where `mirrorLast`, or all of them slightly bent where `bend`.
ConfigStack2D copies(std::mt19937& engine, bool mirrorLast, double bend) {
  const Eigen::MatrixXd shape = flatShape(engine, 9);
  ConfigStack2D stack(9, 6);
  for (Eigen::Index i = 0; i < 6; ++i) {
    const double at = static_cast<double>(i);
    const Eigen::MatrixXd bent = shape + bend * flatShape(engine, 9);
    stack.page(i) = ((0.5 + at) * bent * testing::randomRotation2D(engine)).rowwise() +
                    Eigen::RowVector2d(at, -3.0 * at);
  }
  if (mirrorLast) stack.page(5).col(0) *= -1.0;
  return stack;
}

TEST(Getpproc2D, CopiesCoincideMirrorsStayAndEveryPageHasSizeOne) {
  const struct {
    const char* name;
    bool mirrorLast;
    double bend;
    bool identical;
  } cases[] = {
      {"turned moved resized copies", false, 0.0, true},
      {"one copy mirrored", true, 0.0, false},
      {"bent copies", false, 0.1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::mt19937 engine(22);
    const Superimposition2D s =
        getpproc2D(copies(engine, c.mirrorLast, c.bend), testing::noNotes());
    EXPECT_NEAR(centsize3Da(s.reference), 1.0, 1e-14);
    for (Eigen::Index i = 0; i < 6; ++i) {
      EXPECT_NEAR(centsize3Da(s.sdata.page(i)), 1.0, 1e-14);
      EXPECT_TRUE(assert_near(s.sdata.page(i).colwise().mean(), Eigen::RowVector2d::Zero(), 1e-15));
    }
    const double spread = (s.sdata.page(5) - s.sdata.page(0)).norm();
    if (c.identical) {
      EXPECT_LT(spread, 1e-12);
    } else {
      EXPECT_GT(spread, 1e-3);
    }
  }
}

TEST(Getpproc2D, AgreesWithTheFitIn3DOfTheSameSpecimensAtZEqualZero) {
  std::mt19937 engine(23);
  const ConfigStack2D flat = copies(engine, false, 0.05);
  ConfigStack embedded(flat.landmarks(), flat.specimens());
  for (Eigen::Index i = 0; i < flat.specimens(); ++i) embedded.page(i).leftCols(2) = flat.page(i);

  const Superimposition2D s = getpproc2D(flat, testing::noNotes());
  const Superimposition s3 = getpproc3(embedded, testing::noNotes());
  EXPECT_TRUE(assert_near(s3.reference3.leftCols(2), s.reference, 1e-12));
  for (Eigen::Index i = 0; i < flat.specimens(); ++i) {
    EXPECT_TRUE(assert_near(s3.sdata.page(i).leftCols(2), s.sdata.page(i), 1e-12));
    EXPECT_TRUE(assert_near(s3.sdata.page(i).col(2), Eigen::VectorXd::Zero(9), 1e-12));
  }
  EXPECT_THROW(getpproc2D(ConfigStack2D(), testing::noNotes()), std::invalid_argument);
}

}  // namespace
}  // namespace tarvolin
