#include "document/wireshape3D.h"

#include "core/console.h"
#include "core/errors.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;
using testing::mentions;

Eigen::MatrixXd data(const Graphics& g, Handle h, std::string_view name) {
  return std::get<Eigen::MatrixXd>(g.get(h, name));
}

// Five landmarks whose coordinates tell them apart: landmark j is (j, 10j, 100j).
Eigen::MatrixXd pentagon() {
  Eigen::MatrixXd x(5, 3);
  for (Eigen::Index j = 0; j < 5; ++j) {
    const double n = static_cast<double>(j + 1);
    x.row(j) << n, 10 * n, 100 * n;
  }
  return x;
}

std::vector<Handle> drawn(Graphics& g) { return g.object(g.gca()).children; }

TEST(Wireshape3D, EchoesTheSizeOfTheConfiguration) {
  Graphics g;
  ConsoleCapture capture;
  wireshape3D(g, pentagon(), Eigen::MatrixXd(0, 3));
  const std::string& text = capture.text();
  const size_t m = text.find("m = 5\n");
  const size_t n = text.find("n = 3\n");
  ASSERT_NE(m, std::string::npos) << text;
  ASSERT_NE(n, std::string::npos) << text;
  EXPECT_LT(m, n);
  EXPECT_TRUE(drawn(g).empty());
}

TEST(Wireshape3D, EachWireJoinsTheLandmarksOfColumnsTwoAndThree) {
  Graphics g;
  g.hold(true);
  ConsoleCapture capture;
  Eigen::MatrixXd wires(2, 3);
  wires << 7, 1, 4,  //
      2, 5, 2;
  wireshape3D(g, pentagon(), wires, "g");
  const std::vector<Handle> lines = drawn(g);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(assert_near(data(g, lines[0], "XData"), Eigen::RowVector2d(1, 4), 0));
  EXPECT_TRUE(assert_near(data(g, lines[0], "YData"), Eigen::RowVector2d(10, 40), 0));
  EXPECT_TRUE(assert_near(data(g, lines[0], "ZData"), Eigen::RowVector2d(100, 400), 0));
  EXPECT_TRUE(assert_near(data(g, lines[1], "XData"), Eigen::RowVector2d(5, 2), 0));
  EXPECT_EQ(g.getString(lines[0], "LineStyle"), "g");
  EXPECT_EQ(g.getString(lines[1], "LineStyle"), "g");
  // Hold and the axis mode are left as they were.
  EXPECT_EQ(g.getString(g.gca(), "Hold"), "on");
  EXPECT_EQ(g.getString(g.gca(), "DataAspectRatioMode"), "auto");
}

TEST(Wireshape3D, DefaultStyleIsASolidBlueLine) {
  Graphics g;
  ConsoleCapture capture;
  wireshape3D(g, pentagon(), Eigen::RowVector3d(1, 2, 3));
  ASSERT_EQ(drawn(g).size(), 1u);
  EXPECT_EQ(g.getString(drawn(g)[0], "LineStyle"), "b-");
}

TEST(Wireshape3D, BadLandmarkNumberNamesTheWireAndKeepsEarlierWires) {
  struct Case {
    Eigen::Index row, column;
    double landmark;
    const char* text;
  };
  for (const Case& c :
       {Case{2, 1, 0, "0"}, Case{2, 2, 6, "6"}, Case{3, 2, 2.5, "2.5"}, Case{2, 1, -1, "-1"}}) {
    Graphics g;
    g.hold(true);
    ConsoleCapture capture;
    Eigen::MatrixXd wires(4, 3);
    wires << 1, 1, 2,  //
        2, 2, 3,       //
        3, 3, 4,       //
        4, 4, 5;
    wires(c.row, c.column) = c.landmark;
    try {
      wireshape3D(g, pentagon(), wires, "k:");
      ADD_FAILURE() << "landmark " << c.text << " was accepted";
    } catch (const InputError& e) {
      const std::string message = e.what();
      EXPECT_TRUE(mentions(message, c.row + 1)) << message;
      EXPECT_NE(message.find(c.text), std::string::npos) << message;
    }
    EXPECT_EQ(drawn(g).size(), static_cast<size_t>(c.row)) << c.text;
  }
}

TEST(Wireshape3D, WireListOfTwoColumnsIsRefused) {
  Graphics g;
  ConsoleCapture capture;
  Eigen::MatrixXd wires(2, 2);
  wires << 1, 2,  //
      2, 3;
  EXPECT_THROW(wireshape3D(g, pentagon(), wires), InputError);
  EXPECT_NE(capture.text().find("m = 5"), std::string::npos);
  EXPECT_EQ(g.descendants(kRoot, ObjectType::line).size(), 0u);
}

}  // namespace
}  // namespace tarvolin
