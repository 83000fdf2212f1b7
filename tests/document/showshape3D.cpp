#include "document/showshape3D.h"

#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

Eigen::MatrixXd data(const Graphics& g, Handle h, std::string_view name) {
  return std::get<Eigen::MatrixXd>(g.get(h, name));
}

Eigen::MatrixXd configuration(double offset) {
  Eigen::MatrixXd x(4, 3);
  x << 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11;
  return x.array() + offset;
}

void expectPage(const Graphics& g, Handle line, const Eigen::MatrixXd& page) {
  EXPECT_TRUE(assert_near(data(g, line, "XData"), page.col(0).transpose(), 0));
  EXPECT_TRUE(assert_near(data(g, line, "YData"), page.col(1).transpose(), 0));
  EXPECT_TRUE(assert_near(data(g, line, "ZData"), page.col(2).transpose(), 0));
}

TEST(Showshape3D, ConfigurationIsOnePointSet) {
  Graphics g;
  const Eigen::MatrixXd x = configuration(0);
  showshape3D(g, x, "b*");
  const Handle axes = g.gca();
  const std::vector<Handle>& lines = g.object(axes).children;
  ASSERT_EQ(lines.size(), 1u);
  expectPage(g, lines[0], x);
  EXPECT_EQ(g.getString(lines[0], "LineStyle"), "b*");
  EXPECT_EQ(g.getString(axes, "Hold"), "on");
  EXPECT_EQ(g.getString(axes, "DataAspectRatioMode"), "manual");
}

TEST(Showshape3D, StackDrawsEveryPageInOrder) {
  Graphics g;
  ConfigStack stack(4, 3);
  for (Eigen::Index i = 0; i < 3; ++i)
    stack.page(i) = configuration(100.0 * static_cast<double>(i + 1));
  g.plot3(Eigen::RowVectorXd::Zero(2), Eigen::RowVectorXd::Zero(2), Eigen::RowVectorXd::Zero(2),
          "k.");
  showshape3D(g, stack, "ro");
  const std::vector<Handle>& lines = g.object(g.gca()).children;
  ASSERT_EQ(lines.size(), 3u);  // page 1 replaced the earlier plot
  for (Eigen::Index i = 0; i < 3; ++i) {
    expectPage(g, lines[static_cast<size_t>(i)], stack.page(i));
    EXPECT_EQ(g.getString(lines[static_cast<size_t>(i)], "LineStyle"), "ro");
  }
}

TEST(Showshape3D, TwoCallsIntoClearedAxesShowBoth) {
  Graphics g;
  showshape3D(g, configuration(0), "bo");
  const Handle axes = g.gca();
  const std::vector<std::string> reset{"reset"};
  g.clearObject(axes, reset);
  ASSERT_EQ(g.getString(axes, "Hold"), "off");
  showshape3D(g, configuration(1), "b*");
  showshape3D(g, configuration(2), "r*");
  const std::vector<Handle>& lines = g.object(axes).children;
  ASSERT_EQ(lines.size(), 2u);
  expectPage(g, lines[0], configuration(1));
  expectPage(g, lines[1], configuration(2));
  EXPECT_EQ(g.getString(axes, "Hold"), "on");
}

}  // namespace
}  // namespace tarvolin
