#include "numerics/slidestrays.h"

#include <cmath>
#include <string>
#include <vector>

#include "tests/numerics/slidetesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

// A straight curve of five points along x (landmarks 0 to 4), one of them
// moved by hand; the distances and spacings worked out on paper: the
// curve without point 2 is the segments 0-1 and 3-4 and the chord 1-3
// (length 2, counted twice), so its spacing is (1 + 1 + 2) / 4 = 1.
TEST(SlideStrays, NamesCurvePointsPastTheirNeighboursOrOffTheirCurve) {
  const struct {
    std::string what;
    double x, y;  // point 2, moved
    bool stray;
    StrayKind kind;
    double distance;  // before dividing by the centroid size
    int neighbour;
  } cases[] = {
      {"between its neighbours", 2.4, 0.3, false, {}, 0, 0},
      {"at its neighbour", 3.0, 0.0, false, {}, 0, 0},
      {"past the point after it", 3.5, 0.2, true, StrayKind::pastAfter, 0.5, 3},
      {"past the point before it", 0.75, -0.1, true, StrayKind::pastBefore, 0.25, 1},
      {"off its curve beside the chord", 2.0, 1.25, true, StrayKind::offCurve, 1.25, 0},
      // Nearer segment 3-4 (1.5 away) than the chord (sqrt(0.5^2 + 1.5^2)).
      {"off its curve beside another segment", 3.5, 1.5, true, StrayKind::offCurve, 1.5, 0},
      {"off its curve beyond its end", 7.0, 0.0, true, StrayKind::offCurve, 3.0, 0},
  };
  const Sliders sliders = curvesliders({5}, 5);  // 1, 2 and 3 slide
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Eigen::MatrixXd config(5, 2);
    config << 0, 0, 1, 0, c.x, c.y, 3, 0, 4, 0;
    const double size = testing::centroidSize(config);
    // Points 1 and 3 may stray too, with point 2 where it is: only 2 is judged.
    std::vector<SlideStray> strays;
    for (const SlideStray& s : slidestrays(config, config, sliders, 0)) {
      if (s.point == 2) strays.push_back(s);
    }
    if (!c.stray) {
      EXPECT_TRUE(strays.empty());
      continue;
    }
    ASSERT_EQ(strays.size(), 1u);
    EXPECT_EQ(strays[0].point, 2);
    EXPECT_EQ(strays[0].kind, c.kind);
    EXPECT_NEAR(strays[0].distance, c.distance / size, 1e-12);
    EXPECT_NEAR(strays[0].spacing, 1.0 / size, 1e-12);
    if (c.kind != StrayKind::offCurve) {
      EXPECT_EQ(strays[0].neighbour, c.neighbour);
    }
  }
}

// A surface point is held to 3 times the spacing given, by how far it moved
// from where it stood; surfacespacing is the mean distance to the nearest
// point.
TEST(SlideStrays, HoldsSurfacePointsToTheSpacingOfTheirPoints) {
  Eigen::MatrixXd origin(4, 3);
  origin << 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 4;
  // Nearest points: 0 -> 1 (1), 1 -> 0 (1), 2 -> 0 (2).
  EXPECT_NEAR(surfacespacing(origin, {0, 1, 2}),
              (1.0 + 1.0 + 2.0) / 3 / testing::centroidSize(origin), 1e-12);
  EXPECT_EQ(surfacespacing(origin, {}), 0.0);
  const struct {
    double moved;
    bool stray;
  } cases[] = {{0.05, false}, {0.55, false}, {0.65, true}};
  Sliders sliders;
  sliders.surface = {2};
  for (const auto& c : cases) {
    Eigen::MatrixXd config = origin;
    config(2, 0) += c.moved;
    const double size = testing::centroidSize(config);
    const std::vector<SlideStray> strays = slidestrays(config, origin, sliders, 0.2 / size);
    ASSERT_EQ(strays.size(), c.stray ? 1u : 0u);
    if (c.stray) {
      EXPECT_EQ(strays[0].kind, StrayKind::overSurface);
      EXPECT_NEAR(strays[0].distance, c.moved / size, 1e-12);
    }
  }
}

}  // namespace
}  // namespace tarvolin
