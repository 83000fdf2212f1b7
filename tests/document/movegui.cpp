#include "document/movegui.h"

#include <string>
#include <vector>

#include "core/console.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

Value pair(double x, double y) { return Value(Eigen::MatrixXd{{x, y}}); }

Eigen::MatrixXd rect(double x, double y, double w, double h) {
  return Eigen::MatrixXd{{x, y, w, h}};
}

void move(Graphics& g, const std::vector<Value>& args) { movegui(g, args); }

class MoveguiTest : public ::testing::Test {
 protected:
  MoveguiTest() { g.setScreenSize(1024, 768); }

  // A window whose drawing area and outer frame are both `x, y, w, h`.
  Handle window(double x, double y, double w, double h) {
    const Handle made = g.figure();
    g.set(made, "Position", rect(x, y, w, h));
    g.set(made, "OuterPosition", rect(x, y, w, h));
    EXPECT_TRUE(assert_near(inner(made), rect(x, y, w, h), 0));
    EXPECT_TRUE(assert_near(outer(made), rect(x, y, w, h), 0));
    return made;
  }

  Eigen::MatrixXd outer(Handle h) const {
    return std::get<Eigen::MatrixXd>(g.get(h, "OuterPosition"));
  }
  Eigen::MatrixXd inner(Handle h) const { return std::get<Eigen::MatrixXd>(g.get(h, "Position")); }

  Graphics g;
};

TEST_F(MoveguiTest, EveryNamedPlaceOnA1024By768Screen) {
  struct Case {
    const char* name;
    double x, y;
  };
  const std::vector<Case> cases{
      {.name = "north", .x = 312, .y = 468},     {.name = "south", .x = 312, .y = 0},
      {.name = "east", .x = 624, .y = 234},      {.name = "west", .x = 0, .y = 234},
      {.name = "northeast", .x = 624, .y = 468}, {.name = "southeast", .x = 624, .y = 0},
      {.name = "northwest", .x = 0, .y = 468},   {.name = "southwest", .x = 0, .y = 0},
      {.name = "center", .x = 312, .y = 234},    {.name = "onscreen", .x = 37, .y = 55},
  };
  ConsoleCapture quiet;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Handle fig = window(37, 55, 400, 300);
    move(g, {Value(fig.value()), Value(c.name)});
    EXPECT_TRUE(assert_near(outer(fig), rect(c.x, c.y, 400, 300), 0));
  }
}

TEST_F(MoveguiTest, HalvesAreNotRounded) {
  g.setScreenSize(1025, 769);
  const Handle fig = window(10, 10, 400, 300);
  move(g, {Value(fig.value()), Value("center")});
  EXPECT_TRUE(assert_near(outer(fig), rect(312.5, 234.5, 400, 300), 0));
  move(g, {Value("west"), Value(fig.value())});
  EXPECT_TRUE(assert_near(outer(fig), rect(0, 234.5, 400, 300), 0));
}

TEST_F(MoveguiTest, OnscreenBringsAWindowBackOnlyAsFarAsNeeded) {
  const Handle off = window(-50, 900, 400, 300);
  move(g, {Value(off.value()), Value("onscreen")});
  EXPECT_TRUE(assert_near(outer(off), rect(0, 468, 400, 300), 0));

  const Handle below = window(900, -20, 400, 300);
  move(g, {Value(below.value())});  // "onscreen" when no place is given
  EXPECT_TRUE(assert_near(outer(below), rect(624, 0, 400, 300), 0));

  const Handle inside = window(100, 100, 400, 300);
  move(g, {Value(inside.value()), Value("onscreen")});
  EXPECT_TRUE(assert_near(outer(inside), rect(100, 100, 400, 300), 0));
}

TEST_F(MoveguiTest, AWindowLargerThanTheScreenIsShrunkToIt) {
  const Handle big = window(-30, 50, 1200, 900);
  move(g, {Value(big.value()), Value("onscreen")});
  EXPECT_TRUE(assert_near(outer(big), rect(0, 0, 1024, 768), 0));

  const Handle wide = window(5, 5, 1200, 300);
  move(g, {Value(wide.value()), Value("center")});
  EXPECT_TRUE(assert_near(outer(wide), rect(0, 234, 1024, 300), 0));
}

TEST_F(MoveguiTest, PixelPairsCountNegativesFromTheRightAndTop) {
  const Handle fig = window(37, 55, 400, 300);
  move(g, {Value(fig.value()), pair(-10, -10)});
  EXPECT_TRUE(assert_near(outer(fig), rect(614, 458, 400, 300), 0));
  move(g, {Value(fig.value()), pair(20, 30)});
  EXPECT_TRUE(assert_near(outer(fig), rect(20, 30, 400, 300), 0));
  move(g, {Value(fig.value()), pair(-10, 30)});
  EXPECT_TRUE(assert_near(outer(fig), rect(614, 30, 400, 300), 0));
  move(g, {Value(fig.value()), Value(Eigen::MatrixXd{{5}, {-20}})});  // a column serves as well
  EXPECT_TRUE(assert_near(outer(fig), rect(5, 448, 400, 300), 0));
}

TEST_F(MoveguiTest, OnlyNorthEchoesTheNewCorner) {
  const Handle fig = window(37, 55, 400, 300);
  for (const char* name : {"south", "east", "west", "northeast", "southeast", "northwest",
                           "southwest", "center", "onscreen"}) {
    ConsoleCapture capture;
    move(g, {Value(fig.value()), Value(name)});
    EXPECT_EQ(capture.text(), "") << name;
  }
  {
    ConsoleCapture capture;
    move(g, {Value(fig.value()), pair(-1, -1)});
    EXPECT_EQ(capture.text(), "");
  }
  ConsoleCapture capture;
  move(g, {Value(fig.value()), Value("north")});
  EXPECT_EQ(capture.text(), "newpos =\n  312  468\n");
}

TEST_F(MoveguiTest, DefaultsToTheCallbackWindowThenTheCurrentWindow) {
  const Handle first = window(-50, 900, 400, 300);
  const Handle second = window(-50, 900, 400, 300);
  ASSERT_EQ(g.currentFigure(), second);
  move(g, {});
  EXPECT_TRUE(assert_near(outer(second), rect(0, 468, 400, 300), 0));
  EXPECT_TRUE(assert_near(outer(first), rect(-50, 900, 400, 300), 0));

  const Handle button = g.uicontrol(first, ControlSpec{});
  g.setCallbackObject(button);
  move(g, {Value("southeast")});
  g.setCallbackObject(std::nullopt);
  EXPECT_TRUE(assert_near(outer(first), rect(624, 0, 400, 300), 0));
  EXPECT_TRUE(assert_near(outer(second), rect(0, 468, 400, 300), 0));
  EXPECT_EQ(g.currentFigure(), second);
}

TEST_F(MoveguiTest, ArgumentsComeInAnyOrderAndLaterOnesWin) {
  const Handle target = window(37, 55, 400, 300);
  const Handle current = window(37, 55, 400, 300);
  move(g, {Value("northeast"), Value(target.value())});
  EXPECT_TRUE(assert_near(outer(target), rect(624, 468, 400, 300), 0));
  EXPECT_TRUE(assert_near(outer(current), rect(37, 55, 400, 300), 0));
  EXPECT_EQ(g.currentFigure(), current);

  move(g, {Value("south"), pair(1, 2), Value(target.value())});  // the pair replaces "south"
  EXPECT_TRUE(assert_near(outer(target), rect(1, 2, 400, 300), 0));
  move(g, {Value("south"), Value(target.value()), Value("east")});  // so does a later name
  EXPECT_TRUE(assert_near(outer(target), rect(624, 234, 400, 300), 0));
  move(g, {Value(current.value()), Value(target.value()),
           Value("west")});  // the later window is moved
  EXPECT_TRUE(assert_near(outer(target), rect(0, 234, 400, 300), 0));
  EXPECT_TRUE(assert_near(outer(current), rect(37, 55, 400, 300), 0));
}

TEST_F(MoveguiTest, AHandleInsideAWindowMovesTheWindow) {
  const Handle fig = window(37, 55, 400, 300);
  window(37, 55, 400, 300);  // current, not to be moved
  const Handle control = g.uicontrol(fig, ControlSpec{});
  move(g, {Value(control.value()), Value("southwest")});
  EXPECT_TRUE(assert_near(outer(fig), rect(0, 0, 400, 300), 0));
  const Handle axes = g.axes(fig);
  move(g, {Value("northwest"), Value(axes.value())});
  EXPECT_TRUE(assert_near(outer(fig), rect(0, 468, 400, 300), 0));
}

TEST_F(MoveguiTest, InsideACallbackAnUnknownSecondArgumentIsIgnored) {
  const Handle fig = window(37, 55, 400, 300);
  g.setCallbackObject(g.uicontrol(fig, ControlSpec{}));
  move(g, {Value("center"), Value()});
  EXPECT_TRUE(assert_near(outer(fig), rect(312, 234, 400, 300), 0));
  move(g, {Value(fig.value()), Value(Value::List{}), Value("south")});
  EXPECT_TRUE(assert_near(outer(fig), rect(312, 0, 400, 300), 0));
  EXPECT_THROW_MSG(move(g, {Value(), Value("center")}), GraphicsError,
                   "unrecognized input argument");
  EXPECT_THROW_MSG(move(g, {Value(fig.value()), Value("north"), Value()}), GraphicsError,
                   "unrecognized input argument");
  g.setCallbackObject(std::nullopt);
  EXPECT_THROW_MSG(move(g, {Value("center"), Value()}), GraphicsError,
                   "unrecognized input argument");
  EXPECT_TRUE(assert_near(outer(fig), rect(312, 0, 400, 300), 0));
}

TEST_F(MoveguiTest, BadArgumentsFailBeforeAnythingChanges) {
  const Handle fig = window(37, 55, 400, 300);
  int changes = 0;
  g.subscribe([&changes](const GraphicsChange&) { ++changes; });
  struct Case {
    std::vector<Value> args;
    const char* message;
  };
  const std::vector<Case> cases{
      {.args = {Value(fig.value()), Value("center"), Value("north"), Value("south")},
       .message = "Too many input arguments."},
      {.args = {Value(kRoot.value())}, .message = "handle of figure or descendant required"},
      {.args = {Value("center"), Value(kRoot.value())},
       .message = "handle of figure or descendant required"},
      {.args = {Value(fig.value()), Value("North")}, .message = "unrecognized position"},
      {.args = {Value("middle")}, .message = "unrecognized position"},
      {.args = {Value(fig.value()), Value("center"), Value("top")},
       .message = "unrecognized position"},
      {.args = {Value(4321.5)}, .message = "unrecognized input argument"},
      {.args = {Value(Eigen::MatrixXd{{1, 2, 3}})}, .message = "unrecognized input argument"},
      {.args = {Value(fig.value()), Value(Value::List{Value("center")})},
       .message = "unrecognized input argument"},
      {.args = {Value(Value::Record{{"x", Value(1.0)}})}, .message = "unrecognized input argument"},
      {.args = {Value()}, .message = "unrecognized input argument"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_THROW_MSG(movegui(g, c.args), GraphicsError, c.message);
  }
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(assert_near(outer(fig), rect(37, 55, 400, 300), 0));

  Graphics empty;  // no window is opened for arguments that fail
  EXPECT_THROW_MSG(move(empty, {Value("east"), Value()}), GraphicsError,
                   "unrecognized input argument");
  EXPECT_FALSE(empty.currentFigure().has_value());
}

TEST_F(MoveguiTest, FrameAllowanceOnlyWhenTheInnerSizeIsLargerBothWays) {
  const Handle framed = g.figure();
  g.set(framed, "Position", rect(37, 55, 410, 310));
  g.set(framed, "OuterPosition", rect(37, 55, 400, 300));
  ASSERT_TRUE(assert_near(inner(framed).rightCols(2), Eigen::MatrixXd{{410, 310}}, 0));
  move(g, {Value(framed.value()), Value("center")});
  EXPECT_TRUE(assert_near(outer(framed), rect(312, 234, 406, 324), 0));

  const Handle wider = g.figure();
  g.set(wider, "Position", rect(37, 55, 410, 300));
  g.set(wider, "OuterPosition", rect(37, 55, 400, 300));
  ASSERT_TRUE(assert_near(inner(wider).rightCols(2), Eigen::MatrixXd{{410, 300}}, 0));
  move(g, {Value(wider.value()), Value("center")});
  EXPECT_TRUE(assert_near(outer(wider), rect(312, 234, 400, 300), 0));

  const Handle equal = window(37, 55, 400, 300);
  move(g, {Value(equal.value()), Value("center")});
  EXPECT_TRUE(assert_near(outer(equal), rect(312, 234, 400, 300), 0));
}

TEST_F(MoveguiTest, UnitsAndActivePositionPropertyAreRestored) {
  const Handle fig = window(37, 55, 400, 300);
  g.set(fig, "Units", std::string("normalized"));
  g.set(fig, "ActivePositionProperty", std::string("position"));
  g.set(kRoot, "Units", std::string("inches"));
  std::vector<std::string> rootUnits;
  std::vector<std::string> windowChanges;  // property=value, in order
  std::string unitsWhenMoved, rootUnitsWhenMoved;
  g.subscribe([&](const GraphicsChange& change) {
    if (change.handle == kRoot && change.detail == "Units") {
      rootUnits.push_back(g.getString(kRoot, "Units"));
    }
    if (change.handle == fig &&
        (change.detail == "Units" || change.detail == "ActivePositionProperty")) {
      windowChanges.push_back(change.detail + "=" + g.getString(fig, change.detail));
    }
    if (change.handle == fig && change.detail == "OuterPosition") {
      unitsWhenMoved = g.getString(fig, "Units");
      rootUnitsWhenMoved = g.getString(kRoot, "Units");
    }
  });
  move(g, {Value(fig.value()), Value("northeast")});
  EXPECT_TRUE(assert_near(outer(fig), rect(624, 468, 400, 300), 0));
  EXPECT_EQ(unitsWhenMoved, "pixels");
  EXPECT_EQ(rootUnitsWhenMoved, "inches");
  EXPECT_EQ(rootUnits, (std::vector<std::string>{"pixels", "inches"}));
  // The units go back first, then the active position property.
  ASSERT_GE(windowChanges.size(), 2u);
  EXPECT_EQ(windowChanges.front(), "Units=pixels");
  EXPECT_EQ(windowChanges[windowChanges.size() - 2], "Units=normalized");
  EXPECT_EQ(windowChanges.back(), "ActivePositionProperty=position");
  EXPECT_EQ(g.getString(fig, "Units"), "normalized");
  EXPECT_EQ(g.getString(fig, "ActivePositionProperty"), "position");
  EXPECT_EQ(g.getString(kRoot, "Units"), "inches");
}

}  // namespace
}  // namespace tarvolin
