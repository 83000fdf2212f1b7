#include "numerics/tpswarp2d.h"

#include <cmath>
#include <limits>
#include <random>

#include "tests/testing.h"

namespace tarvolin {
namespace {

using Eigen::Index;
using testing::assert_near;

Eigen::MatrixX2d randomPoints(std::mt19937& engine, Index count) {
  std::normal_distribution<double> normal(0.0, 1.0);
  Eigen::MatrixX2d p(count, 2);
  for (Index i = 0; i < p.size(); ++i) p(i) = normal(engine);
  return p;
}

TEST(Tpswarp2d, TakesEveryLandmarkOntoItsTargetAndKeepsAnAffineChangeAffine) {
  std::mt19937 engine(26);
  const Eigen::MatrixX2d grid = randomPoints(engine, 50) * 2.0;
  Eigen::Matrix2d a;
  a << 1.3, 0.2, -0.4, 0.8;
  const Eigen::RowVector2d shift(3, -1);
  for (const Index k : {3, 4, 10, 25}) {
    SCOPED_TRACE(k);
    const Eigen::MatrixX2d from = randomPoints(engine, k);
    const Eigen::MatrixX2d bent = randomPoints(engine, k);
    const TpsWarp2D warp = tpswarp2d(from, bent);
    EXPECT_TRUE(assert_near(warp.apply(from), bent, 1e-9));
    // The weights neither move nor turn the plane on their own: their sum
    // and their moments are nought.
    EXPECT_TRUE(assert_near(warp.weights.colwise().sum(), Eigen::RowVector2d::Zero(), 1e-9));
    EXPECT_TRUE(assert_near(from.transpose() * warp.weights, Eigen::Matrix2d::Zero(), 1e-9));

    const Eigen::MatrixX2d moved = (from * a.transpose()).rowwise() + shift;
    const TpsWarp2D affine = tpswarp2d(from, moved);
    EXPECT_TRUE(assert_near(affine.weights, Eigen::MatrixX2d::Zero(k, 2), 1e-9));
    EXPECT_TRUE(assert_near(affine.apply(grid), (grid * a.transpose()).rowwise() + shift, 1e-9));
    EXPECT_TRUE(assert_near(tpswarp2d(from, from).apply(grid), grid, 1e-9));
  }
}

// Three landmarks fix an affine map, which the spline then is.
TEST(Tpswarp2d, ThreeLandmarksGiveTheAffineMapThroughThem) {
  Eigen::MatrixX2d from(3, 2), to(3, 2), at(2, 2), expected(2, 2);
  from << 0, 0, 1, 0, 0, 1;
  to << 1, 1, 3, 1, 1, 4;  // x' = 1 + 2x, y' = 1 + 3y
  at << 0.5, 0.5, -1, 2;
  expected << 2, 2.5, -1, 7;
  EXPECT_TRUE(assert_near(tpswarp2d(from, to).apply(at), expected, 1e-12));
}

// A square whose first corner moves up by 1. The move splits into an affine
// part (1 - x - y) / 4 and the alternating one (1, -1, 1, -1) / 4, which
// the kernel matrix takes onto itself times U(8) - 2 U(4) = 8 log 2: the
// weights are that pattern over 32 log 2.
TEST(Tpswarp2d, TheBendOfOneCornerOfASquareByHand) {
  Eigen::MatrixX2d from(4, 2), at(3, 2);
  from << -1, -1, 1, -1, 1, 1, -1, 1;
  Eigen::MatrixX2d to = from;
  to(0, 1) += 1;
  at << 2, 2, 0, 0, 0.5, -0.25;
  const auto u = [](double r2) { return r2 * std::log(r2); };
  const auto bend = [&](double x, double y) {
    const double pull =
        u((x + 1) * (x + 1) + (y + 1) * (y + 1)) - u((x - 1) * (x - 1) + (y + 1) * (y + 1)) +
        u((x - 1) * (x - 1) + (y - 1) * (y - 1)) - u((x + 1) * (x + 1) + (y - 1) * (y - 1));
    return y + (1 - x - y) / 4 + pull / (32 * std::log(2.0));
  };
  Eigen::MatrixX2d expected(3, 2);
  for (Index p = 0; p < 3; ++p) expected.row(p) << at(p, 0), bend(at(p, 0), at(p, 1));
  EXPECT_TRUE(assert_near(tpswarp2d(from, to).apply(at), expected, 1e-12));
}

TEST(Tpswarp2d, Refusals) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  Eigen::MatrixX2d triangle(3, 2), line(3, 2), twice(4, 2), neighbours(4, 2), square(4, 2),
      broken(3, 2);
  triangle << 0, 0, 1, 0, 0, 1;
  line << 0, 0, 1, 1, 2, 2;
  twice << 0, 0, 1, 0, 0, 1, 1, 0;
  neighbours << 0, 0, 1, 0, 1, 1, 1, 1;
  square << 0, 0, 1, 0, 1, 1, 0, 1;
  broken << 0, 0, nan, 0, 0, 1;
  const struct {
    Eigen::MatrixX2d from;
    Eigen::MatrixX2d to;
    const char* error;
  } cases[] = {
      {triangle, square, "3 landmarks to map onto 4"},
      {triangle.topRows(2), triangle.topRows(2), "at least 3 landmarks, not 2"},
      {line, triangle, "lie on one line"},
      {twice, square, "its points 2 and 4 lie at one place"},
      {neighbours, square, "its points 3 and 4 lie at one place"},
      {broken, triangle, "not a finite number"},
      {triangle, broken, "not a finite number"},
  };
  for (const auto& c : cases) {
    EXPECT_THROW_MSG(tpswarp2d(c.from, c.to), std::invalid_argument, c.error);
  }
}

// Landmarks nearly at one place, relative to the configuration's size, are
// named; the spline is still had.
TEST(Tpswarp2d, NamesLandmarksNearlyAtOnePlace) {
  // A square of centroid size 2 (corners at distance 1 from the centre),
  // with a fifth landmark `apart` from the first corner.
  const double a = 1 / std::sqrt(2.0);
  const struct {
    double apart;
    std::vector<std::pair<Index, Index>> unstable;
  } cases[] = {
      {0.5, {}},
      {0.1, {}},  // 0.1 of a centroid size near 2: 5%
      {0.03, {{0, 4}}},
      {1e-6, {{0, 4}}},
  };
  for (const auto& c : cases) {
    Eigen::MatrixX2d from(5, 2);
    from << a, a, -a, a, -a, -a, a, -a, a + c.apart, a;
    Eigen::MatrixX2d to = from;
    to(4, 1) += 0.1;
    const TpsWarp2D warp = tpswarp2d(from, to);
    EXPECT_EQ(warp.unstable, c.unstable) << c.apart;
    EXPECT_TRUE(assert_near(warp.apply(from), to, 1e-6)) << c.apart;
  }
}

}  // namespace
}  // namespace tarvolin
