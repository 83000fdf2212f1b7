#include "document/showshape.h"

#include <cmath>
#include <string>

#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

// The points drawn into the current axes, one row per plotted object; a
// plotted object that is not a single flat point shows up as NaN.
Eigen::MatrixXd drawnPoints(Graphics& g) {
  const std::vector<Handle>& lines = g.object(g.gca()).children;
  Eigen::MatrixXd points(static_cast<Eigen::Index>(lines.size()), 2);
  for (Eigen::Index i = 0; i < points.rows(); ++i) {
    const GraphicsObject& line = g.object(lines[static_cast<size_t>(i)]);
    const bool single = line.xdata.size() == 1 && line.ydata.size() == 1 && line.zdata.size() == 0;
    points.row(i) = single ? Eigen::RowVector2d(line.xdata(0), line.ydata(0))
                           : Eigen::RowVector2d::Constant(std::nan(""));
  }
  return points;
}

TEST(Showshape, EveryLandmarkOfEveryRowIsItsOwnPoint) {
  Graphics g;
  Eigen::MatrixXd x(2, 5);
  x << 1, 2, 3, 4, 99,  //
      5, 6, 7, 8, 98;
  EXPECT_EQ(showshape(g, x, "rs"), 1);
  Eigen::MatrixXd expected(4, 2);
  expected << 1, 2, 3, 4, 5, 6, 7, 8;
  EXPECT_TRUE(assert_near(drawnPoints(g), expected, 0));
  const Handle axes = g.gca();
  for (Handle line : g.object(axes).children) {
    EXPECT_EQ(g.getNumber(line, "MarkerSize"), 3);
    EXPECT_EQ(g.getString(line, "LineStyle"), "rs");
  }
  EXPECT_EQ(g.getString(axes, "Hold"), "on");
  EXPECT_EQ(g.getString(axes, "DataAspectRatioMode"), "manual");
}

// Semilandmarks take the marker "+" (or "x" beside a set drawn with "+")
// and a legend entry of their own; the fixed landmarks stay as asked.
TEST(Showshape, SemilandmarksHaveTheirOwnMarkerAndName) {
  const struct {
    std::string style, semiStyle;
    std::string name;
    PlotRole role;
    std::string semiName;
  } cases[] = {
      {"bo", "b+", "specimens, superimposed", PlotRole::specimens, "semilandmarks"},
      {"b*", "b+", "mean shape", PlotRole::mean, "mean shape: semilandmarks"},
      {"r+", "rx", "standardized specimens", PlotRole::standardized,
       "standardized specimens: semilandmarks"},
      {"k-.", "k-.+", "", PlotRole::other, ""},
      {"k.", "k+", "", PlotRole::other, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    EXPECT_EQ(semilandmarkstyle(c.style), c.semiStyle);
    EXPECT_EQ(semilandmarkname(c.name, c.role), c.semiName);
    Graphics g;
    const Eigen::MatrixXd x{{1, 2, 3, 4, 0}};
    showshape(g, x, c.style, c.name, c.role, {false, true});
    const std::vector<Handle>& lines = g.object(g.gca()).children;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(g.getString(lines[0], "LineStyle"), c.style);
    EXPECT_EQ(g.getString(lines[1], "LineStyle"), c.semiStyle);
    EXPECT_EQ(std::string(g.object(lines[0]).displayName), c.name);
    EXPECT_EQ(std::string(g.object(lines[1]).displayName), c.semiName);
  }
}

TEST(Showshape, SixColumnsStillGiveTwoPoints) {
  Graphics g;
  Eigen::MatrixXd x(1, 6);
  x << 1, 2, 3, 4, 5, 6;
  showshape(g, x);
  EXPECT_TRUE(assert_near(drawnPoints(g), Eigen::Matrix2d{{1, 2}, {3, 4}}, 0));
  EXPECT_EQ(g.getString(g.object(g.gca()).children.front(), "LineStyle"), "k.");
}

TEST(Showshape, HoldGoesOnBeforeDrawing) {
  Graphics g;
  const Eigen::RowVectorXd origin = Eigen::RowVectorXd::Zero(1);
  const Handle earlier = g.plot3(origin, origin, origin, "bo");
  ASSERT_EQ(g.getString(g.gca(), "Hold"), "off");
  showshape(g, Eigen::RowVectorXd::LinSpaced(5, 1, 5), "b<");
  EXPECT_TRUE(g.isValid(earlier));
  EXPECT_EQ(g.object(g.gca()).children.size(), 3u);
}

TEST(Showshape, EmptyInputDrawsNothingButSetsTheAxes) {
  Graphics g;
  EXPECT_EQ(showshape(g, Eigen::MatrixXd()), 1);
  const Handle axes = g.gca();
  EXPECT_EQ(g.getString(axes, "Hold"), "on");
  EXPECT_EQ(g.getString(axes, "DataAspectRatioMode"), "manual");
  EXPECT_EQ(showshape(g, Eigen::MatrixXd(0, 5), "ks"), 1);
  EXPECT_TRUE(g.object(axes).children.empty());
}

}  // namespace
}  // namespace tarvolin
