#include "document/plotstyle.h"

#include "document/graphics.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

constexpr PlotColour kBlue{0, 0, 255}, kRed{255, 0, 0}, kGreen{0, 128, 0}, kBlack{0, 0, 0};

TEST(PlotStyle, ParsedOnceIntoColourMarkerAndLine) {
  struct Case {
    const char* text;
    PlotStyle style;
  };
  const std::vector<Case> cases = {
      {"bo", {'b', kBlue, 'o', LineKind::none}},
      {"b*", {'b', kBlue, '*', LineKind::none}},
      {"r*", {'r', kRed, '*', LineKind::none}},
      {"rs", {'r', kRed, 's', LineKind::none}},
      {"ks", {'k', kBlack, 's', LineKind::none}},
      {"b<", {'b', kBlue, '<', LineKind::none}},
      {"k.", {'k', kBlack, '.', LineKind::none}},
      {"g", {'g', kGreen, 0, LineKind::solid}},
      {"", {'b', kBlue, 0, LineKind::solid}},
      {"k:", {'k', kBlack, 0, LineKind::dotted}},
      {"r-", {'r', kRed, 0, LineKind::solid}},
      {"b-", {'b', kBlue, 0, LineKind::solid}},
      {"--r", {'r', kRed, 0, LineKind::dashed}},
      {"k-.", {'k', kBlack, 0, LineKind::dashDot}},
      {"r*-", {'r', kRed, '*', LineKind::solid}},
      {"--.", {'b', kBlue, '.', LineKind::dashed}},
      {"o", {'b', kBlue, 'o', LineKind::none}},
      {"w^", {'w', {255, 255, 255}, '^', LineKind::none}},
      {"cd", {'c', {0, 191, 191}, 'd', LineKind::none}},
      {"m", {'m', {191, 0, 191}, 0, LineKind::solid}},
      {"yh", {'y', {191, 191, 0}, 'h', LineKind::none}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ParsedPlotStyle parsed = parseplotstyle(c.text);
    ASSERT_TRUE(parsed.style.has_value()) << parsed.problem;
    EXPECT_EQ(*parsed.style, c.style);
    EXPECT_EQ(parsed.problem, "");
    EXPECT_FALSE(plotstyleproblem(c.text).has_value());
  }
}

TEST(PlotStyle, ProblemsNameTheTextAndWhatIsWrong) {
  const std::string more =
      "\" is not a plot style: it names more than one colour, marker or line kind";
  struct Case {
    const char* text;
    std::string problem;
  };
  const std::vector<Case> cases = {
      {"q", "\"q\" is not a plot style: 'q' is neither a colour, a marker nor a line kind"},
      {"bo!", "\"bo!\" is not a plot style: '!' is neither a colour, a marker nor a line kind"},
      {"b o", "\"b o\" is not a plot style: ' ' is neither a colour, a marker nor a line kind"},
      {"bgo", "\"bgo" + more},
      {"o*", "\"o*" + more},
      {"b-:", "\"b-:" + more},
      {"----", "\"----" + more},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ParsedPlotStyle parsed = parseplotstyle(c.text);
    EXPECT_FALSE(parsed.style.has_value());
    EXPECT_EQ(parsed.problem, c.problem);
    EXPECT_EQ(plotstyleproblem(c.text), c.problem);
    Graphics g;
    try {
      g.plot3(Eigen::RowVectorXd::Zero(1), Eigen::RowVectorXd::Zero(1), Eigen::RowVectorXd::Zero(1),
              c.text);
      ADD_FAILURE() << "plotted with a style that is none";
    } catch (const GraphicsError& error) {
      EXPECT_EQ(error.what(), c.problem);
    }
  }
}

// Each plotted object carries the style taken apart, and its text for
// LineStyle by name; the copy on the clipboard keeps both.
TEST(PlotStyle, CarriedByEachPlottedObject) {
  Graphics g;
  g.hold(true);
  const Handle a = g.plot(PlotData::one(1), PlotData::one(2), "rs", 6);
  const Handle b =
      g.plot3(Eigen::RowVector2d(1, 2), Eigen::RowVector2d(1, 2), Eigen::RowVector2d(1, 2), "k:");
  const Handle c = g.plot(PlotData::one(3), PlotData::one(4), "rs", 6);
  EXPECT_EQ(g.object(a).style, (PlotStyle{'r', kRed, 's', LineKind::none}));
  EXPECT_EQ(g.object(b).style, (PlotStyle{'k', kBlack, 0, LineKind::dotted}));
  EXPECT_EQ(g.getString(b, "LineStyle"), "k:");
  EXPECT_EQ(g.getString(c, "LineStyle"), "rs");
  // One style text is kept once for all its objects.
  EXPECT_EQ(g.object(a).lineStyle.data(), g.object(c).lineStyle.data());
  g.print("-dmeta");
  ASSERT_TRUE(g.clipboard().has_value());
  const std::vector<GraphicsObject>& copied = g.clipboard()->lines;
  ASSERT_EQ(copied.size(), 3u);
  EXPECT_EQ(copied[1].style, g.object(b).style);
  EXPECT_EQ(copied[1].lineStyle, "k:");
}

}  // namespace
}  // namespace tarvolin
