#include "document/handle.h"

#include <functional>
#include <unordered_set>

#include "document/graphics.h"
#include "document/guihandles.h"
#include "document/openfig.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

Eigen::MatrixXd numbers(const Graphics& g, Handle h, const char* property) {
  return std::get<Eigen::MatrixXd>(g.get(h, property));
}

TEST(Handle, ComparesAndHashesByItsNumber) {
  EXPECT_EQ(Handle(1016), Handle(1016.0));
  EXPECT_NE(Handle(1), Handle(2));
  EXPECT_LT(Handle(2), Handle(1000));
  EXPECT_EQ(kRoot, Handle(0));
  EXPECT_EQ(Handle(1016).value(), 1016);
  const std::unordered_set<Handle> seen{Handle(1), Handle(1000), Handle(1)};
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen.count(Handle(1000)), 1u);
}

// Where objects are named by number, the numbers read back name the same
// objects: each row reads a property (or a record) by name and turns the
// numbers back into handles.
TEST(Handle, NumbersByNameNameTheSameObjects) {
  Graphics g;
  const Handle first = g.figure();
  const Handle window = g.figure();
  ControlSpec box;
  box.tag = "Box";
  const Handle control = g.uicontrol(window, box);
  const Handle axes = g.gca();
  g.hold(true);
  const Handle line = g.plot3(testing::row({1}), testing::row({2}), testing::row({3}), "bo");
  struct Case {
    const char* read;
    std::function<std::vector<double>()> numbers;
    std::vector<Handle> named;
  };
  const std::vector<Case> cases = {
      {"Parent of a control",
       [&] { return std::vector<double>{g.getNumber(control, "Parent")}; },
       {window}},
      {"Parent of a plotted object",
       [&] { return std::vector<double>{g.getNumber(line, "Parent")}; },
       {axes}},
      {"Parent of a window",
       [&] { return std::vector<double>{g.getNumber(window, "Parent")}; },
       {kRoot}},
      {"Children of the screen",
       [&] {
         const Eigen::MatrixXd c = numbers(g, kRoot, "Children");
         return std::vector<double>(c.data(), c.data() + c.size());
       },
       {first, window}},
      {"Children of a window",
       [&] {
         const Eigen::MatrixXd c = numbers(g, window, "Children");
         return std::vector<double>(c.data(), c.data() + c.size());
       },
       {control, axes}},
      {"CurrentFigure",
       [&] { return std::vector<double>{g.getNumber(kRoot, "CurrentFigure")}; },
       {window}},
      {"CurrentAxes",
       [&] { return std::vector<double>{g.getNumber(window, "CurrentAxes")}; },
       {axes}},
      {"guihandles' record",
       [&] {
         return std::vector<double>{guihandles(g, Value(window.value())).field("Box")->scalar()};
       },
       {control}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.read);
    std::vector<Handle> named;
    for (double number : c.numbers()) named.emplace_back(number);
    EXPECT_EQ(named, c.named);
    for (Handle h : named) EXPECT_TRUE(g.isValid(h));
  }
}

// A window opened from a figure file is remembered by number on the
// screen, and opening it again with "reuse" finds the same window.
TEST(Handle, FigureFilesRememberTheirWindowsByNumber) {
  Graphics g;
  const std::string folder = TARVOLIN_RESOURCES_DIR;
  const Handle main = openfig(g, "Tarvolin", "reuse", folder);
  const std::optional<Value> kept = g.getappdata(kRoot, openfigSingletonKey("Tarvolin"));
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(kept->matrix(), Eigen::MatrixXd::Constant(1, 1, main.value()));
  EXPECT_EQ(openfig(g, "Tarvolin", "reuse", folder), main);
  EXPECT_EQ(openfigWindows(g, "Tarvolin"), std::vector<Handle>{main});
  const Handle second = openfig(g, "Tarvolin", "new", folder);
  EXPECT_NE(second, main);
  EXPECT_EQ(openfigWindows(g, "Tarvolin"), (std::vector<Handle>{main, second}));
}

}  // namespace
}  // namespace tarvolin
