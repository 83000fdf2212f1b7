#include "document/clf.h"

#include "tests/testing.h"

namespace tarvolin {
namespace {

ControlSpec control(ControlStyle style, std::string tag) {
  ControlSpec made;
  made.style = style;
  made.tag = std::move(tag);
  return made;
}

TEST(Clf, RemovesAxesAndControlsOfTheCurrentWindow) {
  Graphics g;
  const Handle other = g.figure();
  const Handle keptControl = g.uicontrol(other, control(ControlStyle::pushbutton, "Load"));
  const Handle window = g.figure();
  const Handle box = g.uicontrol(window, control(ControlStyle::checkbox, "Show"));
  const Handle line = g.plot3(Eigen::RowVectorXd::Zero(2), Eigen::RowVectorXd::Zero(2),
                              Eigen::RowVectorXd::Zero(2), "bo");
  const Handle axes = g.gca();
  EXPECT_EQ(clf(g), window);
  EXPECT_TRUE(g.isValid(window));
  EXPECT_EQ(g.currentFigure(), window);
  EXPECT_TRUE(g.object(window).children.empty());
  for (Handle gone : {box, line, axes}) EXPECT_FALSE(g.isValid(gone)) << gone;
  EXPECT_TRUE(g.isValid(keptControl));
  EXPECT_EQ(g.findobj("Show").size(), 0u);
}

TEST(Clf, NextPlotMakesNewAxes) {
  Graphics g;
  const Handle window = g.figure();
  g.plot3(Eigen::RowVectorXd::Zero(1), Eigen::RowVectorXd::Zero(1), Eigen::RowVectorXd::Zero(1),
          "bo");
  const Handle oldAxes = g.gca();
  clf(g);
  const Handle line = g.plot3(Eigen::RowVectorXd::Ones(1), Eigen::RowVectorXd::Ones(1),
                              Eigen::RowVectorXd::Ones(1), "r*");
  const Handle newAxes = g.object(line).parent;
  EXPECT_NE(newAxes, oldAxes);
  EXPECT_EQ(g.object(newAxes).parent, window);
  EXPECT_EQ(g.gca(), newAxes);
  EXPECT_EQ(g.object(window).children, std::vector<Handle>{newAxes});
}

TEST(Clf, UnknownOptionFails) {
  Graphics g;
  g.figure();
  const std::vector<std::string> bad{"everything"};
  EXPECT_THROW(clf(g, bad), GraphicsError);
}

}  // namespace
}  // namespace tarvolin
