// The Shape space button of both workflow windows: its window, the two
// analyses it shows, the specimen clicked, the shape change along a
// component and along size, and the scores saved.
#include <algorithm>
#include <cmath>
#include <map>

#include "core/sprintf.h"
#include "document/controltags.h"
#include "formats/dload.h"
#include "numerics/predictedshapes.h"
#include "numerics/shapepca.h"
#include "numerics/shapespacedimensions.h"
#include "tests/testing.h"
#include "workflows/pcascorescsv.h"
#include "plotting/plotmorphospace.h"
#include "workflows/stand3sw.h"
#include "workflows/standsw.h"
#include "workflowtesting.h"

namespace tarvolin {
namespace {

using testing::examplePath;
using testing::readText;
using testing::TempDir;

struct Workflow {
  bool threeD;
  const char* example;
};

class ShapeSpaceTest : public ::testing::TestWithParam<Workflow>,
                       protected testing::WorkflowWindows {
 protected:
  ShapeSpaceTest() : WorkflowWindows(GetParam().threeD) {}

  // Loads the example, standardizes it to the smallest ln centroid size and
  // opens shape space.
  void standardizeAndOpen() {
    run("LoadData", examplePath(GetParam().example));
    for (const char* action : {"UseCS", "UseLn", "Acceptx", "Regress", "ShapeSpace"}) run(action);
    ASSERT_EQ(graphics_.lastError(), "");
  }
  Handle space() const { return graphics_.findobj(tags::kShapeSpaceWindow).front(); }
  Handle in(std::string_view tag) const { return graphics_.findobj(tag, space()).front(); }
  // The analysis of a data set's rows, as the command line makes it.
  ShapePca analysis(const Eigen::MatrixXd& rows, bool standardized = false) const {
    const Eigen::Index v = (rows.cols() - 1) / dims() * dims();
    return shapepca(rows, v, 0, PcaRoute::automatic,
                    shapespacedimensions(dims(), v / dims(), nullptr, standardized));
  }
  // The morphospace's points by specimen ID.
  std::map<std::string, Eigen::Vector2d> points() const {
    std::map<std::string, Eigen::Vector2d> found;
    for (Handle h : graphics_.descendants(in(tags::kShapeSpacePlot), ObjectType::line)) {
      const GraphicsObject& o = graphics_.object(h);
      if (o.role == PlotRole::pcScores) found[o.tag] = {o.xdata(0), o.ydata(0)};
    }
    return found;
  }
  TempDir dir_;
};

// Each analysis and pair of components the choosers name is drawn with the
// command line's figures; a specimen clicked is marked and shown in the plot.
TEST_P(ShapeSpaceTest, DrawsTheAnalysisAndComponentsChosen) {
  standardizeAndOpen();
  EXPECT_EQ(graphics_.getString(space(), "Name"),
            std::string("Tarvolin shape space: ") + GetParam().example);
  EXPECT_EQ(graphics_.getString(in(tags::kShapeOfStandardized), "Enable"), "on");
  const std::vector<std::string>& ids = session().ids();
  const struct {
    bool standardized;
    int pcx, pcy;
  } views[] = {{false, 1, 2}, {false, 3, 2}, {true, 1, 2}, {true, 2, 4}};
  for (const auto& view : views) {
    SCOPED_TRACE(sprintf("%s PC%i PC%i", view.standardized ? "standardized" : "superimposed",
                         view.pcx, view.pcy));
    graphics_.setValue(
        in(view.standardized ? tags::kShapeOfStandardized : tags::kShapeOfSuperimposed), 1);
    graphics_.setValue(in(tags::kShapePCX), view.pcx);
    graphics_.setValue(in(tags::kShapePCY), view.pcy);
    run("ShapeSpaceRedraw");
    ASSERT_EQ(graphics_.lastError(), "");
    const ShapePca expected = view.standardized ? analysis(session().standardized().data, true)
                                                : analysis(session().data());
    const std::map<std::string, Eigen::Vector2d> shown = points();
    ASSERT_EQ(shown.size(), ids.size());
    for (size_t j = 0; j < ids.size(); ++j) {
      const Eigen::Index row = static_cast<Eigen::Index>(j);
      EXPECT_EQ(shown.at(ids[j]).x(), expected.scores()(row, view.pcx - 1)) << ids[j];
      EXPECT_EQ(shown.at(ids[j]).y(), expected.scores()(row, view.pcy - 1)) << ids[j];
    }
    const ObjectDetails& axes = graphics_.object(in(tags::kShapeSpacePlot)).details();
    EXPECT_EQ(axes.xlabel, pcaxistitle(expected, view.pcx - 1));
    EXPECT_EQ(axes.ylabel, pcaxistitle(expected, view.pcy - 1));
    EXPECT_TRUE(axes.axisEqual);
    EXPECT_EQ(graphics_.getString(in(tags::kShapePCX), "String").substr(0, 8), "PC1\nPC2\n");
    // As many components as shape space has dimensions, counted by hand for
    // 14 landmarks: 3k - 7 or 2k - 4, one fewer standardized.
    const std::string listed = graphics_.getString(in(tags::kShapePCX), "String");
    EXPECT_EQ(std::count(listed.begin(), listed.end(), '\n') + 1,
              (GetParam().threeD ? 35 : 24) - (view.standardized ? 1 : 0));

    // A click on a specimen marks it and shows it in the plot.
    const size_t pick = 4;
    graphics_.setCallbackObject(graphics_.findobj(ids[pick], in(tags::kShapeSpacePlot)).front());
    run("ShapeSpaceSelect");
    graphics_.setCallbackObject(std::nullopt);
    ASSERT_EQ(graphics_.lastError(), "");
    EXPECT_NE(status_.find(ids[pick] + " (PC"), std::string::npos) << status_;
    int marked = 0;
    for (Handle h : graphics_.descendants(in(tags::kShapeSpacePlot), ObjectType::line)) {
      if (graphics_.object(h).role != PlotRole::pcChosen) continue;
      ++marked;
      EXPECT_EQ(graphics_.object(h).xdata(0), shown.at(ids[pick]).x());
    }
    EXPECT_EQ(marked, 1);
    ASSERT_FALSE(plotted(PlotRole::chosen).empty());
    EXPECT_EQ(plotted(PlotRole::chosen).front()->displayName, ids[pick]);
  }

  // Groups loaded anew with hulls shown: the redraw a click makes holds
  // other lines before the points, and the status still names the one
  // clicked.
  for (const int groups : {2, 3}) {
    std::string labels;
    for (size_t j = 0; j < ids.size(); ++j) labels += sprintf("g%i\n", j % groups);
    testing::writeText(dir_.file("groups.txt"), labels);
    run("LoadGroups", dir_.file("groups.txt"));
    graphics_.setValue(in(tags::kShapeHulls), 1);
    if (groups == 2) run("ShapeSpaceRedraw");
    const size_t pick = 7;
    graphics_.setCallbackObject(graphics_.findobj(ids[pick], in(tags::kShapeSpacePlot)).front());
    run("ShapeSpaceSelect");
    graphics_.setCallbackObject(std::nullopt);
    EXPECT_EQ(status_.rfind(ids[pick] + " (PC", 0), 0u) << status_;
  }

  // The scores saved are the table the command line writes.
  graphics_.setValue(in(tags::kShapeOfSuperimposed), 1);
  run("ShapeScoresSave", dir_.file("scores.csv"));
  EXPECT_EQ(readText(dir_.file("scores.csv")), pcascorescsv(analysis(session().data()), ids));
}

// The shape change along a component, at its extreme scores or at a number
// of standard deviations, magnified, and along size; what is refused.
TEST_P(ShapeSpaceTest, ShowsTheShapeChangeAskedFor) {
  standardizeAndOpen();
  const ShapePca pca = analysis(session().data());
  const Eigen::Index k = pca.variables() / dims();
  // The drawn shape of a target, back in the data set's layout.
  const auto drawnShape = [&](const GraphicsObject& target) {
    Eigen::RowVectorXd shape(pca.variables());
    for (Eigen::Index i = 0; i < k; ++i) {
      shape(dims() * i) = target.xdata(i);
      shape(dims() * i + 1) = target.ydata(i);
      if (dims() == 3) shape(dims() * i + 2) = target.zdata(i);
    }
    return shape;
  };
  const struct {
    int pc;
    int ends;  // 1: lowest and highest score, 2: mean plus and minus SDs
    const char* sd;
    const char* magnify;
    bool grid;
  } asked[] = {{1, 1, "2", "1", false}, {2, 2, "1.5", "3", true}, {3, 1, "2", "10", true}};
  for (const auto& a : asked) {
    SCOPED_TRACE(sprintf("PC%i ends %i magnify %s", a.pc, a.ends, a.magnify));
    graphics_.setValue(in(tags::kShapeChangePC), a.pc);
    graphics_.setValue(in(tags::kShapeChangeEnds), a.ends);
    graphics_.setString(in(tags::kShapeChangeSD), a.sd);
    graphics_.setString(in(tags::kShapeMagnify), a.magnify);
    graphics_.setValue(in(tags::kShapeChangeGrid), a.grid);
    run("ShapeChange");
    ASSERT_EQ(graphics_.lastError(), "");
    const Eigen::Index c = a.pc - 1;
    const double sd = std::sqrt(pca.eigenvalues(c)) * std::stod(a.sd);
    const double low = a.ends == 1 ? pca.scores().col(c).minCoeff() : -sd;
    const double high = a.ends == 1 ? pca.scores().col(c).maxCoeff() : sd;
    const double magnify = std::stod(a.magnify);
    const std::vector<const GraphicsObject*> targets = plotted(PlotRole::changeTarget);
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(plotted(PlotRole::changeMean).size(), 1u);
    const double ends[] = {low, high};
    for (size_t t = 0; t < 2; ++t) {
      const Eigen::RowVectorXd expected = pca.mean + magnify * (pca.shapeat(c, ends[t]) - pca.mean);
      EXPECT_LT((drawnShape(*targets[t]) - expected).cwiseAbs().maxCoeff(), 1e-14);
    }
    EXPECT_EQ(plotted(PlotRole::deformationGrid).empty(), !(a.grid && dims() == 2));
    EXPECT_FALSE(plotted(PlotRole::lollipops).empty());
    // The side views' pairs of landmarks lie within 0.4% of the mean's size
    // of each other (the next pair 10% apart): the grid is said to be unstable there.
    EXPECT_EQ(status_.starts_with("The grid is unstable where landmarks of the mean shape lie "
                                  "almost at one place (7 and 8, 9 and 10, 11 and 12, 13 and 14); "
                                  "the plot shows the shape change along PC"),
              a.grid && dims() == 2)
        << status_;
  }

  // Along size: the shapes the regression predicts at the smallest and
  // largest x.
  const Eigen::VectorXd& fx = session().fx();
  const Eigen::MatrixXd predicted = predictedshapes(session().data().leftCols(pca.variables()), fx,
                                                    Eigen::Vector2d(fx.minCoeff(), fx.maxCoeff()));
  run("AllometryChange");
  ASSERT_EQ(graphics_.lastError(), "");
  const std::vector<const GraphicsObject*> targets = plotted(PlotRole::changeTarget);
  ASSERT_EQ(targets.size(), 2u);
  EXPECT_LT((drawnShape(*targets[0]) - predicted.row(0)).cwiseAbs().maxCoeff(), 1e-14);
  EXPECT_LT((drawnShape(*targets[1]) - predicted.row(1)).cwiseAbs().maxCoeff(), 1e-14);

  // Boxes that say nothing sensible draw nothing new.
  const struct {
    std::string_view tag;
    const char* text;
    const char* error;
  } refused[] = {
      {tags::kShapeMagnify, "0", "Magnify takes a number from 1 to 10, not \"0\""},
      {tags::kShapeMagnify, "11", "Magnify takes a number from 1 to 10, not \"11\""},
      {tags::kShapeMagnify, "x", "Magnify takes a number from 1 to 10, not \"x\""},
      {tags::kShapeChangeSD, "-1",
       "The number of standard deviations takes a number from 0 to 10, not \"-1\""},
  };
  graphics_.setValue(in(tags::kShapeChangeEnds), 2);
  for (const auto& r : refused) {
    graphics_.setString(in(tags::kShapeMagnify), "1");
    graphics_.setString(in(tags::kShapeChangeSD), "2");
    graphics_.setString(in(r.tag), r.text);
    run("ShapeChange");
    EXPECT_EQ(graphics_.lastError(), std::string("Error in ShapeChange: ") + r.error);
  }

  // A closed window has no choosers to go by.
  graphics_.close(space());
  run("ShapeChange");
  EXPECT_EQ(graphics_.lastError(),
            "Error in ShapeChange: the shape space window is closed; click Shape space to open "
            "it again");
  run("ShapeSpace");
  ASSERT_EQ(graphics_.lastError(), "");
  // After Clear the window belongs to a data set that is gone.
  run("Clear");
  run("ShapeChange");
  EXPECT_EQ(graphics_.lastError(),
            "Error in ShapeChange: the data set has changed since shape space was drawn; click "
            "Shape space again");
  EXPECT_EQ(graphics_.getString(graphics_.findobj("ShapeSpaceButton", window_).front(), "Enable"),
            "off");
}

// Specimens of one and the same shape have no shape space: their
// "components" would be rounding noise.
TEST_P(ShapeSpaceTest, SpecimensOfOneShapeAreRefused) {
  const Eigen::MatrixXd example = dload(examplePath(GetParam().example));
  std::string rows;
  for (int j = 0; j < 5; ++j) {
    for (Eigen::Index c = 0; c < example.cols(); ++c) {
      rows += sprintf(c == 0 ? "%.17g" : " %.17g", example(0, c));
    }
    rows += '\n';
  }
  testing::writeText(dir_.file("same.txt"), rows);
  run("LoadData", dir_.file("same.txt"));
  ASSERT_EQ(graphics_.lastError(), "");
  run("ShapeSpace");
  EXPECT_TRUE(graphics_.lastError().starts_with(
      "Error in ShapeSpace: the 5 specimens have one and the same shape"))
      << graphics_.lastError();
}

INSTANTIATE_TEST_SUITE_P(Windows, ShapeSpaceTest,
                         ::testing::Values(Workflow{true, "skulls_zor.txt"},
                                           Workflow{false, "skulls2d_superimposed.txt"}),
                         [](const auto& run) { return run.param.threeD ? "3D" : "2D"; });

}  // namespace
}  // namespace tarvolin
