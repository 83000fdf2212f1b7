// The morphospace and scree pictures on a small case worked by hand.
#include "plotting/plotmorphospace.h"

#include <gtest/gtest.h>

#include <map>

namespace tarvolin {
namespace {

// Five specimens on two components: a square of group "a" around the origin
// with one specimen inside it, and one specimen of group "b".
ShapePca smallCase(Eigen::Index components = 2) {
  ShapePca pca;
  pca.specimens = 5;
  pca.mean = Eigen::RowVectorXd::Zero(4);
  pca.eigenvalues = Eigen::VectorXd::LinSpaced(components, 3, 1);  // 3, ..., 1
  pca.eigenvalues(0) = 3;
  pca.totalVariance = 8;
  pca.vectors = Eigen::MatrixXd::Identity(4, components);
  pca.scoreMemory = Eigen::MatrixXd::Zero(5, std::max<Eigen::Index>(components, 2));
  pca.scoreMemory.leftCols(2) << -1, -1, 1, -1, 1, 1, -1, 1, 0.5, 0;
  return pca;
}

std::vector<const GraphicsObject*> ofRole(const Graphics& g, Handle axes, PlotRole role) {
  std::vector<const GraphicsObject*> found;
  for (Handle h : g.object(axes).children) {
    if (g.object(h).role == role) found.push_back(&g.object(h));
  }
  return found;
}

TEST(PlotMorphospace, DrawsScoresGroupsHullsAndTheChosenOnAKnownCase) {
  const std::vector<std::string> ids{"s1", "s2", "s3", "s4", "s5"};
  SpecimenGroups groups{{"a", "b"}, {0, 0, 0, 0, 1}, "groups.txt"};
  const struct {
    bool grouped;
    bool hulls;
    std::optional<Eigen::Index> chosen;
    size_t hullCount;
  } cases[] = {
      {false, true, std::nullopt, 0},  // no groups: no hulls, whatever is asked
      {true, false, std::nullopt, 0},
      {true, true, 4, 1},  // "b" has one specimen: no hull
  };
  for (const auto& c : cases) {
    Graphics g;
    const Handle window = g.figure();
    const Handle axes = g.axes(window);
    MorphospaceView view;
    view.hulls = c.hulls;
    view.chosen = c.chosen;
    plotmorphospace(g, axes, smallCase(), ids, c.grouped ? std::optional(groups) : std::nullopt,
                    view);
    const auto points = ofRole(g, axes, PlotRole::pcScores);
    ASSERT_EQ(points.size(), 5u);
    EXPECT_EQ(points[1]->tag, "s2");
    EXPECT_EQ(points[1]->xdata(0), 1);
    EXPECT_EQ(points[1]->ydata(0), -1);
    EXPECT_EQ(points[4]->displayName, c.grouped ? "b" : "specimens");
    EXPECT_EQ(points[0]->lineStyle, c.grouped ? groupstyle(0) : "ko");
    const auto hulls = ofRole(g, axes, PlotRole::pcHull);
    ASSERT_EQ(hulls.size(), c.hullCount);
    if (!hulls.empty()) {
      // The square's four corners, closed; the specimen inside is no corner.
      ASSERT_EQ(hulls[0]->xdata.size(), 5);
      EXPECT_EQ(hulls[0]->xdata(0), hulls[0]->xdata(4));
      for (Eigen::Index i = 0; i < 4; ++i) EXPECT_EQ(std::abs(hulls[0]->xdata(i)), 1);
    }
    EXPECT_EQ(ofRole(g, axes, PlotRole::zeroLine).size(), 2u);
    EXPECT_EQ(ofRole(g, axes, PlotRole::pcChosen).size(), c.chosen ? 1u : 0u);
    EXPECT_EQ(g.object(axes).details().xlabel, "PC1 (37.5%)");
    EXPECT_EQ(g.object(axes).details().ylabel, "PC2 (12.5%)");
    EXPECT_TRUE(g.object(axes).details().axisEqual);
  }
}

TEST(PlotScree, BarsAreTheSharesAndTheLineTheirRunningSum) {
  const struct {
    Eigen::Index components;
    Eigen::Index bars;
    std::string title;
  } cases[] = {{2, 2, ""}, {25, 20, "the first 20 of 25 components"}};
  for (const auto& c : cases) {
    ShapePca pca = smallCase(c.components);
    pca.totalVariance = pca.eigenvalues.sum();
    Graphics g;
    const Handle axes = g.axes(g.figure());
    plotscree(g, axes, pca);
    const auto bars = ofRole(g, axes, PlotRole::screeProportions);
    ASSERT_EQ(static_cast<Eigen::Index>(bars.size()), c.bars);
    const auto line = ofRole(g, axes, PlotRole::screeCumulative);
    ASSERT_EQ(line.size(), 1u);
    double running = 0;
    for (Eigen::Index i = 0; i < c.bars; ++i) {
      const double share = pca.eigenvalues(i) / pca.totalVariance;
      running += share;
      EXPECT_DOUBLE_EQ(bars[static_cast<size_t>(i)]->ydata.map().maxCoeff(), share);
      EXPECT_DOUBLE_EQ(line[0]->ydata(i), running);
      EXPECT_EQ(line[0]->xdata(i), static_cast<double>(i + 1));
    }
    EXPECT_EQ(g.object(axes).details().title, c.title);
  }
}

TEST(GroupStyle, SixGroupsDifferInColourAndMoreInColourOrMarker) {
  std::map<std::string, size_t> seen;
  for (size_t g = 0; g < 42; ++g) EXPECT_TRUE(seen.emplace(groupstyle(g), g).second) << g;
  std::map<char, size_t> colours;
  for (size_t g = 0; g < 6; ++g) EXPECT_TRUE(colours.emplace(groupstyle(g)[0], g).second) << g;
}

}  // namespace
}  // namespace tarvolin
