#include "plotting/showshapechange.h"

#include <cmath>
#include <limits>
#include <map>
#include <vector>

#include "core/errors.h"
#include "document/legendnames.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using Eigen::Index;
using testing::assert_near;

// A kite of four landmarks (2D), or the same kite lifted to z = 1 (3D).
Eigen::MatrixXd kite(int dims) {
  Eigen::MatrixXd x(4, dims);
  const double flat[4][2] = {{0, -2}, {1, 0}, {0, 3}, {-1, 0}};
  for (Index j = 0; j < 4; ++j) {
    x(j, 0) = flat[j][0];
    x(j, 1) = flat[j][1];
    if (dims == 3) x(j, 2) = 1;
  }
  return x;
}

Eigen::MatrixXd wireRing() {
  Eigen::MatrixXd w(4, 3);
  w << 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 1;
  return w;
}

std::map<PlotRole, int> countByRole(const Graphics& g, Handle axes) {
  std::map<PlotRole, int> count;
  for (const Handle h : g.object(axes).children) ++count[g.object(h).role];
  return count;
}

std::vector<Handle> withRole(const Graphics& g, Handle axes, PlotRole role) {
  std::vector<Handle> found;
  for (const Handle h : g.object(axes).children) {
    if (g.object(h).role == role) found.push_back(h);
  }
  return found;
}

Eigen::RowVectorXd along(const PlotData& data) { return data.map(); }

TEST(Showshapechange, DrawsEachPartOnceAPartAndReplacesAnEarlierDrawing) {
  const struct {
    const char* what;
    int dims;
    int targets;
    bool wires;
    bool grid;
    std::map<PlotRole, int> expected;
  } cases[] = {
      {"2D, two ends, wires and grid",
       2,
       2,
       true,
       true,
       {{PlotRole::specimens, 1},
        {PlotRole::deformationGrid, 1},
        {PlotRole::warpedWireframe, 3},
        {PlotRole::lollipops, 2},
        {PlotRole::changeMean, 1},
        {PlotRole::changeTarget, 2}}},
      {"2D, one end, no grid",
       2,
       1,
       false,
       false,
       {{PlotRole::specimens, 1},
        {PlotRole::lollipops, 1},
        {PlotRole::changeMean, 1},
        {PlotRole::changeTarget, 1}}},
      {"3D asks for a grid in vain",
       3,
       2,
       true,
       true,
       {{PlotRole::specimens, 1},
        {PlotRole::warpedWireframe, 3},
        {PlotRole::lollipops, 2},
        {PlotRole::changeMean, 1},
        {PlotRole::changeTarget, 2}}},
      {"no target: the mean alone",
       3,
       0,
       false,
       true,
       {{PlotRole::specimens, 1}, {PlotRole::changeMean, 1}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Graphics g;
    const Eigen::MatrixXd mean = kite(c.dims);
    if (c.dims == 3) {
      g.plot3(mean.col(0).transpose(), mean.col(1).transpose(), mean.col(2).transpose(), "b*",
              kSuperimposed, PlotRole::specimens);
    } else {
      g.plot(mean.col(0).transpose(), mean.col(1).transpose(), "b*", 3, kSuperimposed,
             PlotRole::specimens);
    }
    Eigen::MatrixXd bent = mean;
    bent(2, 1) += 0.5;
    const std::vector<ShapeTarget> all{{mean - (bent - mean), "PC1 minimum", "b"},
                                       {bent, "PC1 maximum", "r"}};
    const std::span<const ShapeTarget> targets(all.data(), static_cast<size_t>(c.targets));
    const Eigen::MatrixXd wires = c.wires ? wireRing() : Eigen::MatrixXd(0, 3);
    const Handle axes = g.gca();
    for (const double magnification : {1.0, 4.0}) {
      showshapechange(g, mean, targets, wires, magnification, c.grid);
      EXPECT_EQ(countByRole(g, axes), c.expected) << "magnification " << magnification;
    }
    EXPECT_TRUE(g.object(axes).details().hold);
    EXPECT_TRUE(g.object(axes).details().axisEqual);
    removeshapechange(g, axes);
    EXPECT_EQ(countByRole(g, axes), (std::map<PlotRole, int>{{PlotRole::specimens, 1}}));
  }
}

TEST(Showshapechange, TheTargetIsExaggeratedAndTheLollipopsRunFromTheMeanToIt) {
  for (const int dims : {2, 3}) {
    SCOPED_TRACE(dims);
    Graphics g;
    const Eigen::MatrixXd mean = kite(dims);
    Eigen::MatrixXd target = mean;
    target(0, 0) += 0.1;
    target(3, 1) -= 0.2;
    const std::vector<ShapeTarget> ends{{target, "PC2 maximum", "m"}};
    showshapechange(g, mean, ends, wireRing(), 3, true);
    const Eigen::MatrixXd far = mean + 3 * (target - mean);

    const std::vector<Handle> points = withRole(g, g.gca(), PlotRole::changeTarget);
    ASSERT_EQ(points.size(), 1u);
    const GraphicsObject& shown = g.object(points[0]);
    EXPECT_EQ(shown.displayName, "PC2 maximum");
    EXPECT_EQ(shown.lineStyle, "mo");
    EXPECT_TRUE(assert_near(along(shown.xdata), far.col(0).transpose(), 1e-15));
    EXPECT_TRUE(assert_near(along(shown.ydata), far.col(1).transpose(), 1e-15));
    if (dims == 3) {
      EXPECT_TRUE(assert_near(along(shown.zdata), far.col(2).transpose(), 1e-15));
    }

    const GraphicsObject& mine = g.object(withRole(g, g.gca(), PlotRole::changeMean)[0]);
    EXPECT_EQ(mine.displayName, kChangeMean);
    EXPECT_TRUE(assert_near(along(mine.ydata), mean.col(1).transpose(), 0));

    // Landmark j's lollipop: mean, exaggerated target, a gap.
    const GraphicsObject& sticks = g.object(withRole(g, g.gca(), PlotRole::lollipops)[0]);
    EXPECT_EQ(sticks.lineStyle, "m-");
    EXPECT_TRUE(sticks.displayName.empty());
    ASSERT_EQ(sticks.xdata.size(), 12);
    for (Index j = 0; j < 4; ++j) {
      for (int c = 0; c < dims; ++c) {
        const PlotData& values = c == 0 ? sticks.xdata : c == 1 ? sticks.ydata : sticks.zdata;
        EXPECT_EQ(values(3 * j), mean(j, c));
        EXPECT_DOUBLE_EQ(values(3 * j + 1), far(j, c));
        EXPECT_TRUE(std::isnan(values(3 * j + 2)));
      }
    }
    // The wires on the exaggerated target: wire 2 joins landmarks 2 and 3.
    const std::vector<Handle> wires = withRole(g, g.gca(), PlotRole::warpedWireframe);
    ASSERT_EQ(wires.size(), 2u);
    EXPECT_EQ(g.object(wires[0]).lineStyle, "k:");
    const GraphicsObject& warped = g.object(wires[1]);
    EXPECT_DOUBLE_EQ(warped.xdata(3), far(1, 0));
    EXPECT_DOUBLE_EQ(warped.xdata(4), far(2, 0));
  }
}

// A target moved as a whole by (1, 2) moves the grid by the magnification
// times that, unbent: each of its lines stays straight, the first one at
// the mean's lower edge less a twentieth of its larger side (5, so 0.25).
TEST(Showshapechange, TheGridFollowsTheSplineFromTheMeanToTheExaggeratedTarget) {
  const Eigen::MatrixXd mean = kite(2);  // x from -1 to 1, y from -2 to 3
  const Eigen::MatrixXd moved = mean.rowwise() + Eigen::RowVector2d(1, 2);
  for (const double magnification : {1.0, 2.5}) {
    Graphics g;
    const std::vector<ShapeTarget> ends{{moved, "shifted", "r"}};
    showshapechange(g, mean, ends, Eigen::MatrixXd(0, 3), magnification, true);
    const std::vector<Handle> grid = withRole(g, g.gca(), PlotRole::deformationGrid);
    ASSERT_EQ(grid.size(), 1u);
    const GraphicsObject& lines = g.object(grid[0]);
    EXPECT_EQ(lines.displayName, kDeformationGrid);
    ASSERT_EQ(lines.xdata.size(), 2 * kChangeGridLines * (kChangeGridSteps + 1));
    int gaps = 0;
    for (Index i = 0; i < lines.xdata.size(); ++i) gaps += std::isnan(lines.xdata(i)) ? 1 : 0;
    EXPECT_EQ(gaps, 2 * kChangeGridLines);
    // The first line runs along the lower edge, y fixed, x over the extent;
    // the last one up the right edge.
    for (Index s = 0; s < kChangeGridSteps; ++s) {
      EXPECT_NEAR(lines.ydata(s), -2.25 + 2 * magnification, 1e-9);
    }
    EXPECT_NEAR(lines.xdata(0), -1.25 + magnification, 1e-9);
    EXPECT_NEAR(lines.xdata(kChangeGridSteps - 1), 1.25 + magnification, 1e-9);
    const Index last = lines.xdata.size() - 2;
    EXPECT_NEAR(lines.xdata(last), 1.25 + magnification, 1e-9);
    EXPECT_NEAR(lines.ydata(last), 3.25 + 2 * magnification, 1e-9);
  }
}

// Two landmarks of the mean nearly at one place, their targets apart: the
// spline bends the plane sharply between them. The grid is said to be
// unstable there and breaks where it would run off beyond the shapes: none
// of it lies farther than a quarter of their extent outside their box.
TEST(Showshapechange, AGridNearLandmarksNearlyAtOnePlaceIsWarnedOfAndKeptNear) {
  const struct {
    double apart;  // the fifth landmark from the second, along x
    const char* warning;
  } cases[] = {
      {0.5, ""},
      {1e-4,
       "the grid is unstable where landmarks of the mean shape lie almost at one place (2 and 5)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.apart);
    Eigen::MatrixXd mean(5, 2);
    mean.topRows(4) = kite(2);
    mean.row(4) << 1 + c.apart, 0;
    Eigen::MatrixXd end = mean;
    end(4, 1) += 0.5;  // the two part: 0.5 up
    Graphics g;
    const std::vector<ShapeTarget> ends{{end, "end", "r"}};
    EXPECT_EQ(showshapechange(g, mean, ends, Eigen::MatrixXd(0, 3), 1, true), c.warning);
    const GraphicsObject& lines = g.object(withRole(g, g.gca(), PlotRole::deformationGrid).front());
    // The shapes span x -1 to 1.5 and y -2 to 3: 5 at most, a quarter 1.25.
    for (Index i = 0; i < lines.xdata.size(); ++i) {
      if (std::isnan(lines.xdata(i))) continue;
      EXPECT_GE(lines.xdata(i), -1 - 1.25 - 1e-9);
      EXPECT_LE(lines.xdata(i), 1 + c.apart + 1.25 + 1e-9);
      EXPECT_GE(lines.ydata(i), -2 - 1.25 - 1e-9);
      EXPECT_LE(lines.ydata(i), 3 + 1.25 + 1e-9);
    }
  }
}

TEST(Showshapechange, RefusalsDrawNothingAndKeepWhatWasThere) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Eigen::MatrixXd mean = kite(2);
  Eigen::MatrixXd line(3, 2);
  line << 0, 0, 1, 1, 2, 2;
  Eigen::MatrixXd broken = mean;
  broken(1, 1) = nan;
  Eigen::MatrixXd badWire(1, 3);
  badWire << 1, 2, 7;
  const struct {
    Eigen::MatrixXd mean;
    Eigen::MatrixXd target;
    Eigen::MatrixXd wires;
    double magnification;
    bool grid;
    const char* error;
  } cases[] = {
      {mean, mean, {}, 0.5, false, "from 1 to 10, not 0.5"},
      {mean, mean, {}, 11, false, "from 1 to 10, not 11"},
      {mean, mean, {}, nan, false, "from 1 to 10, not nan"},
      {Eigen::MatrixXd::Zero(4, 4),
       Eigen::MatrixXd::Zero(4, 4),
       {},
       2,
       false,
       "2 or 3 coordinates, not 4"},
      {mean, kite(3), {}, 2, false, "the shape \"end\" is 4 x 3, the mean shape 4 x 2"},
      {mean, mean.topRows(3), {}, 2, false, "is 3 x 2"},
      {mean, broken, {}, 2, false, "\"end\" holds a coordinate that is not a number"},
      {broken, mean, {}, 2, false, "mean shape holds a coordinate that is not a number"},
      {mean, mean, badWire, 2, false, "wire 1 joins landmark 7"},
      {mean, mean, Eigen::MatrixXd::Ones(1, 2), 2, false, "wire 1 has 2 numbers"},
      {line,
       line,
       {},
       2,
       true,
       "deformation grid can be drawn from the mean shape: all its points lie on one line"},
      {Eigen::MatrixXd(0, 2), Eigen::MatrixXd(0, 2), {}, 2, false, "no landmark"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    Graphics g;
    const std::vector<ShapeTarget> before{{mean * 1.1, "before", "g"}};
    showshapechange(g, mean, before, Eigen::MatrixXd(0, 3), 1, true);
    const std::map<PlotRole, int> drawn = countByRole(g, g.gca());
    const std::vector<ShapeTarget> ends{{c.target, "end", "r"}};
    EXPECT_THROW_MSG(showshapechange(g, c.mean, ends, c.wires, c.magnification, c.grid), InputError,
                     c.error);
    EXPECT_EQ(countByRole(g, g.gca()), drawn);
  }
}

}  // namespace
}  // namespace tarvolin
