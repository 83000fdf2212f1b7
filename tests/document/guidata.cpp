#include "document/guidata.h"

#include <cmath>
#include <limits>

#include "document/guihandles.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

Handle addButton(Graphics& g, Handle window, std::string tag) {
  ControlSpec described;
  described.tag = std::move(tag);
  return g.uicontrol(window, described);
}

TEST(Guidata, NothingStoredGivesTheEmptyMatrix) {
  Graphics g;
  const Handle window = g.figure();
  EXPECT_TRUE(guidata(g, Value(window.value())).isEmpty());
}

TEST(Guidata, EveryObjectOfTheWindowReachesTheSameValue) {
  Graphics g;
  const Handle window = g.figure();
  const Handle button = addButton(g, window, "Go");
  const Handle axes = g.axes(window);
  const Value handles = guihandles(g, Value(window.value()));
  guidata(g, Value(button.value()), handles);
  EXPECT_EQ(guidata(g, Value(window.value())), handles);
  EXPECT_EQ(guidata(g, Value(axes.value())), handles);
  EXPECT_EQ(guidata(g, Value(button.value())).field("Go")->scalar(), button.value());
  EXPECT_TRUE(g.getappdata(window, "UsedByGUIData_m"));
  EXPECT_FALSE(g.getappdata(button, "UsedByGUIData_m"));
}

TEST(Guidata, StoringReplaces) {
  Graphics g;
  const Handle window = g.figure();
  guidata(g, Value(window.value()), Value("first"));
  guidata(g, Value(window.value()), Value(2.5));
  EXPECT_EQ(guidata(g, Value(window.value())), Value(2.5));
  guidata(g, Value(window.value()), Value());
  EXPECT_TRUE(guidata(g, Value(window.value())).isEmpty());
}

TEST(Guidata, ValuesComeBackExactly) {
  Graphics g;
  const Handle window = g.figure();
  Eigen::MatrixXd numbers(2, 3);
  numbers << 0.1, -0.0, std::numeric_limits<double>::infinity(), 1e-310, 1.0 / 3.0,
      -std::numeric_limits<double>::infinity();
  const Value nested(
      Value::Record{{"numbers", Value(numbers)},
                    {"text", Value(std::string("line one\nline two \xff\x00 end", 24))},
                    {"empty", Value()},
                    {"column", Value(Eigen::MatrixXd::Zero(0, 3))},
                    {"list", Value(Value::List{Value(1.0), Value("two"), Value(Value::Record{})})},
                    {"inner", Value(Value::Record{{"x", Value(7.0)}, {"", Value("unnamed")}})}});
  guidata(g, Value(window.value()), nested);
  const Value back = guidata(g, Value(window.value()));
  EXPECT_EQ(back, nested);
  EXPECT_EQ(back.field("column")->matrix().cols(), 3);
  EXPECT_TRUE(std::signbit(back.field("numbers")->matrix()(0, 1)));

  Eigen::MatrixXd withNan(1, 2);
  withNan << std::nan(""), 4.0;
  guidata(g, Value(window.value()), Value(withNan));
  const Eigen::MatrixXd nanBack = guidata(g, Value(window.value())).matrix();
  ASSERT_EQ(nanBack.size(), 2);
  EXPECT_TRUE(std::isnan(nanBack(0, 0)));
  EXPECT_EQ(nanBack(0, 1), 4.0);
}

TEST(Guidata, EachWindowKeepsItsOwnValue) {
  Graphics g;
  const Handle first = g.figure();
  const Handle second = g.figure();
  guidata(g, Value(first.value()), Value("first"));
  guidata(g, Value(second.value()), Value("second"));
  EXPECT_EQ(guidata(g, Value(first.value())), Value("first"));
  EXPECT_EQ(guidata(g, Value(second.value())), Value("second"));
}

TEST(Guidata, ValueGoesWithAClosedWindow) {
  Graphics g;
  const Handle window = g.figure();
  const Handle button = addButton(g, window, "Go");
  guidata(g, Value(window.value()), Value("kept"));
  g.close(window);
  EXPECT_FALSE(g.isValid(window));
  EXPECT_THROW_TEXT(guidata(g, Value(button.value())), GraphicsError,
                    "H must be the handle to a figure or figure descendent.");
  const Handle reopened = g.figure();
  ASSERT_EQ(reopened, window);  // the window number is used again
  EXPECT_TRUE(guidata(g, Value(reopened.value())).isEmpty());
}

TEST(Guidata, AppdataPutThereDirectlyIsReturnedAsItIs) {
  Graphics g;
  const Handle window = g.figure();
  g.setappdata(window, "UsedByGUIData_m", 3.0);
  EXPECT_EQ(guidata(g, Value(window.value())), Value(3.0));
  g.setappdata(window, "UsedByGUIData_m", std::string("plain"));
  EXPECT_EQ(guidata(g, Value(window.value())), Value("plain"));
}

TEST(Guidata, HandleMustLeadToAWindow) {
  Graphics g;
  const Handle window = g.figure();
  const Handle button = addButton(g, window, "Go");
  Eigen::MatrixXd two(1, 2);
  two << window.value(), button.value();
  const std::string message = "H must be the handle to a figure or figure descendent.";
  for (const Value& h : {Value(kRoot.value()), Value(4711.0), Value(two), Value(), Value("Go")}) {
    EXPECT_THROW_MSG(guidata(g, h), GraphicsError, message);
    EXPECT_THROW_MSG(guidata(g, h, Value(1.0)), GraphicsError, message);
  }
  EXPECT_FALSE(g.getappdata(kRoot, "UsedByGUIData_m"));
}

}  // namespace
}  // namespace tarvolin
