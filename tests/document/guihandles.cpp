#include "document/guihandles.h"

#include <cmath>

#include "document/hgload.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

Handle addControl(Graphics& g, Handle window, std::string tag) {
  ControlSpec described;
  described.style = ControlStyle::text;
  described.tag = std::move(tag);
  return g.uicontrol(window, described);
}

Eigen::MatrixXd row(std::initializer_list<Handle> handles) {
  Eigen::MatrixXd r(1, static_cast<Eigen::Index>(handles.size()));
  Eigen::Index i = 0;
  for (Handle h : handles) r(0, i++) = h.value();
  return r;
}

std::vector<std::string> fieldNames(const Value& record) {
  std::vector<std::string> names;
  for (const auto& [name, value] : record.record()) names.push_back(name);
  return names;
}

TEST(Guihandles, SharedTagGivesOneFieldWithTheHandlesInOrder) {
  Graphics g;
  const Handle window = g.figure();
  const Handle first = addControl(g, window, "Box");
  const Handle other = addControl(g, window, "Other");
  const Handle second = addControl(g, window, "Box");
  const Value handles = guihandles(g, Value(window.value()));
  ASSERT_TRUE(handles.isRecord());
  EXPECT_EQ(fieldNames(handles), (std::vector<std::string>{"Box", "Other"}));
  EXPECT_EQ(*handles.field("Box"), Value(row({first, second})));
  EXPECT_EQ(*handles.field("Other"), Value(row({other})));
}

TEST(Guihandles, TagsThatAreNoVariableNamesGiveNoField) {
  Graphics g;
  const Handle window = g.figure();
  for (const char* bad : {"1abc", "a b", "for", "", "end", "x-y"}) addControl(g, window, bad);
  const Handle good = addControl(g, window, "a_1");
  const Value handles = guihandles(g, Value(window.value()));
  EXPECT_EQ(fieldNames(handles), std::vector<std::string>{"a_1"});
  EXPECT_EQ(*handles.field("a_1"), Value(row({good})));
}

TEST(Guihandles, WindowComesFirstThenEverythingInsideDepthFirst) {
  Graphics g;
  const Handle window = g.figure();
  g.set(window, "Tag", std::string("Main"));
  const Handle box = addControl(g, window, "Box");
  const Handle axes = g.axes(window);
  g.set(axes, "Tag", std::string("Box"));
  const Handle line = g.plot3(Eigen::RowVectorXd::Zero(1), Eigen::RowVectorXd::Zero(1),
                              Eigen::RowVectorXd::Zero(1), "bo");
  g.set(line, "Tag", std::string("Box"));
  const Handle last = addControl(g, window, "Box");
  addControl(g, g.figure(), "Box");  // another window's object does not count

  const Value handles = guihandles(g, Value(box.value()));
  EXPECT_EQ(fieldNames(handles), (std::vector<std::string>{"Main", "Box"}));
  EXPECT_EQ(*handles.field("Main"), Value(row({window})));
  EXPECT_EQ(*handles.field("Box"), Value(row({box, axes, line, last})));
}

TEST(Guihandles, NoUsableTagGivesTheEmptyMatrix) {
  Graphics g;
  const Handle window = g.figure();
  addControl(g, window, "");
  addControl(g, window, "while");
  const Value handles = guihandles(g, Value(window.value()));
  EXPECT_TRUE(handles.isEmpty());
  EXPECT_TRUE(guihandles(g, Value(g.figure().value())).isEmpty());
}

TEST(Guihandles, WithoutHandleTakesTheCurrentWindow) {
  Graphics g;
  const Handle first = g.figure();
  addControl(g, first, "InFirst");
  const Handle second = g.figure();
  const Handle mine = addControl(g, second, "InSecond");
  const Value handles = guihandles(g);
  EXPECT_EQ(fieldNames(handles), std::vector<std::string>{"InSecond"});
  EXPECT_EQ(*handles.field("InSecond"), Value(row({mine})));
}

TEST(Guihandles, WithoutAnyWindowOneIsOpened) {
  Graphics g;
  EXPECT_TRUE(guihandles(g).isEmpty());
  EXPECT_EQ(g.object(kRoot).children.size(), 1u);
}

TEST(Guihandles, HandleMustLeadToAWindow) {
  Graphics g;
  const Handle window = g.figure();
  const Handle box = addControl(g, window, "Box");
  const std::string message = "H must be the handle to a figure or figure descendent.";
  EXPECT_THROW_MSG(guihandles(g, Value(kRoot.value())), GraphicsError, message);
  EXPECT_THROW_MSG(guihandles(g, Value(4711.0)), GraphicsError, message);
  EXPECT_THROW_MSG(guihandles(g, Value(row({window, box}))), GraphicsError, message);
  EXPECT_THROW_MSG(guihandles(g, Value()), GraphicsError, message);
  EXPECT_THROW_MSG(guihandles(g, Value("Box")), GraphicsError, message);
  EXPECT_THROW_MSG(guihandles(g, Value(std::nan(""))), GraphicsError, message);
}

TEST(Guihandles, MainWindowGivesItsTagAndEveryTaggedControl) {
  Graphics g;
  const Handle main = hgload(g, std::string(TARVOLIN_RESOURCES_DIR) + "/Tarvolin.fig");
  const Value handles = guihandles(g, Value(main.value()));
  ASSERT_TRUE(handles.isRecord());
  // The window, the eighteen tags of the 3D workflow, eleven button tags and
  // the four of the semilandmarks.
  EXPECT_EQ(handles.record().size(), 34u);
  EXPECT_EQ(handles.record().front().first, "Tarvolin");
  EXPECT_EQ(*handles.field("Tarvolin"), Value(main.value()));
  for (const char* tag : {"ZORButton", "FileBox", "StandardBox", "CSBox", "GoRegress"}) {
    ASSERT_NE(handles.field(tag), nullptr) << tag;
    EXPECT_EQ(*handles.field(tag), Value(g.findobj(tag, main).front().value())) << tag;
  }
}

}  // namespace
}  // namespace tarvolin
