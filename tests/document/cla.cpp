#include "document/cla.h"

#include "tests/testing.h"

namespace tarvolin {
namespace {

void drawTwo(Graphics& g) {
  g.hold(true);
  g.plot3(Eigen::RowVectorXd::Zero(3), Eigen::RowVectorXd::Zero(3), Eigen::RowVectorXd::Zero(3),
          "bo");
  g.plot3(Eigen::RowVectorXd::Ones(2), Eigen::RowVectorXd::Ones(2), Eigen::RowVectorXd::Ones(2),
          "g");
}

TEST(Cla, EmptiesTheCurrentAxesAndKeepsThem) {
  Graphics g;
  const Handle window = g.figure();
  const Handle other = g.axes(window);
  g.plot3(Eigen::RowVectorXd::Zero(1), Eigen::RowVectorXd::Zero(1), Eigen::RowVectorXd::Zero(1),
          "r*");
  const Handle axes = g.axes(window);
  drawTwo(g);
  g.axis("equal");
  EXPECT_EQ(cla(g), axes);
  EXPECT_TRUE(g.isValid(axes));
  EXPECT_EQ(g.gca(), axes);
  EXPECT_TRUE(g.object(axes).children.empty());
  EXPECT_EQ(g.getString(axes, "Hold"), "on");
  EXPECT_EQ(g.object(other).children.size(), 1u);  // other axes are left alone
  EXPECT_EQ(g.object(window).children.size(), 2u);
}

TEST(Cla, ResetAlsoTurnsHoldOffAndOtherOptionsFail) {
  Graphics g;
  drawTwo(g);
  const Handle axes = g.gca();
  const std::vector<std::string> bad{"everything"};
  EXPECT_THROW(cla(g, bad), GraphicsError);
  const std::vector<std::string> reset{"reset"};
  EXPECT_EQ(cla(g, reset), axes);
  EXPECT_TRUE(g.object(axes).children.empty());
  EXPECT_EQ(g.getString(axes, "Hold"), "off");
}

}  // namespace
}  // namespace tarvolin
