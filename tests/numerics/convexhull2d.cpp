#include "numerics/convexhull2d.h"

#include <limits>
#include <vector>

#include "tests/testing.h"

namespace tarvolin {
namespace {

using Eigen::Index;

Eigen::MatrixX2d points(std::initializer_list<std::pair<double, double>> xy) {
  Eigen::MatrixX2d p(static_cast<Index>(xy.size()), 2);
  Index i = 0;
  for (const auto& [x, y] : xy) p.row(i++) << x, y;
  return p;
}

TEST(Convexhull2d, CornersCounterClockwiseFromTheLowest) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* what;
    Eigen::MatrixX2d points;
    std::vector<Index> corners;
  } cases[] = {
      {"a point inside", points({{0, 0}, {1, 0}, {0.2, 0.2}, {0, 1}}), {0, 1, 3}},
      {"given clockwise", points({{0, 1}, {1, 1}, {1, 0}, {0, 0}}), {3, 2, 1, 0}},
      {"points on the edges",
       points({{0, 0}, {1, 0}, {2, 0}, {2, 2}, {0, 2}, {1, 1}, {2, 1}, {0, 1}, {1, 2}}),
       {0, 2, 3, 4}},
      {"two lowest: the leftmost starts", points({{2, 0}, {0, 0}, {1, 1}}), {1, 0, 2}},
      {"a point twice", points({{0, 0}, {0, 0}, {1, 0}, {0, 1}, {1, 0}}), {0, 2, 3}},
      {"a point that is not a number", points({{0, 0}, {nan, 1}, {1, 0}, {0, 1}}), {0, 2, 3}},
      {"a diamond", points({{0, -1}, {1, 0}, {0, 1}, {-1, 0}, {0, 0}}), {0, 1, 2, 3}},
      {"on one line", points({{2, 2}, {0, 0}, {1, 1}, {3, 3}}), {1, 3}},
      {"on one level line", points({{1, 0}, {0, 0}, {2, 0}}), {1, 2}},
      {"two points", points({{0, 2}, {1, 1}}), {1, 0}},
      {"one point", points({{5, 5}}), {0}},
      {"all in one place", points({{1, 1}, {1, 1}, {1, 1}}), {0}},
      {"none", Eigen::MatrixX2d(0, 2), {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(convexhull2d(c.points), c.corners) << c.what;
  }
}

}  // namespace
}  // namespace tarvolin
