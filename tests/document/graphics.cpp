#include "document/graphics.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "document/clickvalue.h"
#include "tests/document/graphicsrecorder.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

Eigen::MatrixXd matrixOf(const Graphics& g, Handle h, std::string_view name) {
  return std::get<Eigen::MatrixXd>(g.get(h, name));
}

using testing::row;

ControlSpec control(ControlStyle style, std::string tag, std::string text) {
  ControlSpec made;
  made.style = style;
  made.tag = std::move(tag);
  made.string = std::move(text);
  return made;
}

std::vector<Handle> linesIn(const Graphics& g, Handle axes) { return g.object(axes).children; }

// A row keeps the smallest and largest of its finite values, through copies
// and moves; a row with none answers +inf and -inf, which widen nothing.
TEST(PlotData, KeepsTheLimitsOfItsFiniteValues) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    std::vector<double> values;
    double lower, upper;
  } cases[] = {
      {{}, inf, -inf},
      {{2.5}, 2.5, 2.5},
      {{nan}, inf, -inf},
      {{3, -1, 7, 2}, -1, 7},
      {{nan, 4, -inf, 9, inf, nan}, 4, 9},
      {{nan, nan}, inf, -inf},
  };
  for (const Case& c : cases) {
    const PlotData data = Eigen::Map<const Eigen::RowVectorXd>(
        c.values.data(), static_cast<Eigen::Index>(c.values.size()));
    const PlotData copy = data;
    PlotData moved = PlotData(copy);
    for (const PlotData* d : std::initializer_list<const PlotData*>{&data, &copy, &moved}) {
      EXPECT_EQ(d->finitemin(), c.lower) << c.values.size() << " values";
      EXPECT_EQ(d->finitemax(), c.upper) << c.values.size() << " values";
      ASSERT_EQ(d->size(), static_cast<Eigen::Index>(c.values.size()));
      for (size_t i = 0; i < c.values.size(); ++i) {
        EXPECT_TRUE((*d)(static_cast<Eigen::Index>(i)) == c.values[i] ||
                    (std::isnan(c.values[i]) && std::isnan((*d)(static_cast<Eigen::Index>(i)))));
      }
    }
  }
}

TEST(Graphics, RootIsTheScreen) {
  Graphics g;
  EXPECT_TRUE(g.isValid(kRoot));
  EXPECT_EQ(g.getString(kRoot, "Type"), "root");
  EXPECT_EQ(g.getString(kRoot, "Units"), "pixels");
  const Eigen::MatrixXd screen = matrixOf(g, kRoot, "ScreenSize");
  ASSERT_EQ(screen.size(), 4);
  EXPECT_GT(screen(2), 0);
  EXPECT_GT(screen(3), 0);
  EXPECT_FALSE(g.currentFigure().has_value());
  EXPECT_TRUE(g.object(kRoot).children.empty());
}

TEST(Graphics, FigureTakesTheSmallestFreeNumberAndBecomesCurrent) {
  Graphics g;
  EXPECT_EQ(g.figure(), Handle(1));
  EXPECT_EQ(g.figure(), Handle(2));
  EXPECT_EQ(g.figure(), Handle(3));
  EXPECT_EQ(g.currentFigure(), Handle(3));
  const ObjectId closed = g.id(Handle(2));
  g.close(Handle(2));
  EXPECT_EQ(g.figure(), Handle(2));
  EXPECT_EQ(g.currentFigure(), Handle(2));
  EXPECT_EQ(g.getString(Handle(2), "Type"), "figure");
  // The window that got the number is not the one remembered under it.
  EXPECT_FALSE(g.exists(closed));
  EXPECT_TRUE(g.exists(g.id(Handle(2))));
  EXPECT_TRUE(g.exists(g.id(Handle(1))));

  g.figure(Handle(1));
  g.close(Handle(2));
  EXPECT_THROW(g.figure(Handle(2)), GraphicsError);
  EXPECT_THROW(g.figure(Handle(77)), GraphicsError);
  EXPECT_THROW(g.figure(g.gca()), GraphicsError);  // axes, not a window
  EXPECT_EQ(g.currentFigure(), Handle(1));
}

TEST(Graphics, CloseRemovesTheWindowAndHandsOnToTheLastMadeCurrent) {
  Graphics g;
  const Handle f1 = g.figure();
  const Handle f2 = g.figure();
  const Handle f3 = g.figure();
  g.figure(f2);
  g.figure(f1);
  const Handle box = g.uicontrol(f1, control(ControlStyle::edit, "Box", "1"));
  const Handle axes = g.gca();
  const Handle line = g.plot3(row({1, 2}), row({3, 4}), row({5, 6}), "bo");
  g.close(f1);
  for (Handle gone : {f1, box, axes, line}) EXPECT_FALSE(g.isValid(gone)) << gone;
  EXPECT_EQ(g.currentFigure(), f2);  // made current after f3 was opened
  g.close(f3);                       // not the current window
  EXPECT_EQ(g.currentFigure(), f2);
  g.close(f2);
  EXPECT_FALSE(g.currentFigure().has_value());
  EXPECT_TRUE(g.object(kRoot).children.empty());
  EXPECT_THROW(g.close(f2), GraphicsError);
}

TEST(Graphics, GcfAndGcaMakeWhatIsMissing) {
  Graphics g;
  const Handle axes = g.gca();
  ASSERT_TRUE(g.currentFigure().has_value());
  const Handle window = *g.currentFigure();
  EXPECT_EQ(g.getString(axes, "Type"), "axes");
  EXPECT_EQ(g.object(axes).parent, window);
  EXPECT_EQ(g.gca(), axes);
  EXPECT_EQ(g.gcf(), window);
  EXPECT_EQ(g.object(window).children.size(), 1u);

  g.close(window);
  const Handle made = g.gcf();
  EXPECT_TRUE(g.isValid(made));
  EXPECT_EQ(g.currentFigure(), made);
  EXPECT_EQ(g.getString(made, "Type"), "figure");
  EXPECT_TRUE(g.object(made).children.empty());  // gcf makes no axes
}

TEST(Graphics, FindobjMatchesTheTagExactlyWindowByWindow) {
  Graphics g;
  const Handle w1 = g.figure();
  const Handle a = g.uicontrol(w1, control(ControlStyle::radiobutton, "Choice", ""));
  const Handle w2 = g.figure();
  const Handle b = g.uicontrol(w2, control(ControlStyle::radiobutton, "Choice", ""));
  g.uicontrol(w1, control(ControlStyle::radiobutton, "choice", ""));
  g.uicontrol(w1, control(ControlStyle::radiobutton, "Choice2", ""));
  const Handle c = g.uicontrol(w1, control(ControlStyle::checkbox, "Choice", ""));
  // Windows oldest first, each window's objects in order of creation.
  EXPECT_EQ(g.findobj("Choice"), (std::vector<Handle>{a, c, b}));
  EXPECT_EQ(g.findobj("Choice", w2), (std::vector<Handle>{b}));
  EXPECT_EQ(g.findobj("choice").size(), 1u);
  EXPECT_TRUE(g.findobj("Missing").empty());
  EXPECT_EQ(g.getString(c, "Style"), "checkbox");
}

// Finding by tag goes through an index; it must answer as a walk of the
// whole tree does, in tree order, whatever was made, retagged or removed.
TEST(Graphics, FindobjAnswersAsAWalkOfTheTreeAfterAnyChange) {
  Graphics g;
  std::mt19937 random(7);
  const std::vector<std::string> tags{"", "A", "B"};
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  auto any = [&](ObjectType type) -> std::optional<Handle> {
    const std::vector<Handle> all = g.descendants(kRoot, type);
    if (all.empty()) return std::nullopt;
    return all[pick(all.size())];
  };
  std::function<void(Handle, const std::string&, std::vector<Handle>&)> walk =
      [&](Handle h, const std::string& tag, std::vector<Handle>& found) {
        if (g.object(h).tag == tag) found.push_back(h);
        for (Handle c : g.object(h).children) walk(c, tag, found);
      };
  for (int step = 0; step < 400; ++step) {
    switch (pick(6)) {
      case 0:
        g.figure();
        break;
      case 1:
        if (auto w = any(ObjectType::figure)) {
          ControlSpec described;
          described.tag = tags[pick(3)];
          g.uicontrol(*w, described);
        }
        break;
      case 2:
        if (auto w = any(ObjectType::figure)) {
          g.figure(*w);
          g.hold(true);
          g.plot(Eigen::RowVectorXd::Zero(1), Eigen::RowVectorXd::Zero(1), "bo", 6);
        }
        break;
      case 3:
        for (ObjectType type : {ObjectType::uicontrol, ObjectType::line, ObjectType::figure}) {
          if (auto h = any(type)) g.set(*h, "Tag", tags[pick(3)]);
        }
        break;
      case 4:
        if (pick(4) == 0) {
          if (auto w = any(ObjectType::figure)) g.close(*w);
        }
        break;
      case 5:
        if (auto a = any(ObjectType::axes)) g.clearObject(*a);
        break;
    }
    std::vector<Handle> places{kRoot};
    for (Handle w : g.object(kRoot).children) places.push_back(w);
    for (const std::string& tag : {std::string("A"), std::string("B")}) {
      for (Handle within : places) {
        std::vector<Handle> walked;
        walk(within, tag, walked);
        ASSERT_EQ(g.findobj(tag, within), walked) << "step " << step << " tag " << tag;
      }
    }
  }
}

TEST(Graphics, ControlPropertiesByNameInAnyCaseAndOfTheRightKind) {
  Graphics g;
  const Handle w = g.figure();
  ControlSpec described = control(ControlStyle::edit, "StandardBox", "0.0000");
  described.callback = "standardize";
  const Handle box = g.uicontrol(w, described);
  EXPECT_EQ(g.getString(box, "string"), "0.0000");
  EXPECT_EQ(g.getString(box, "TAG"), "StandardBox");
  EXPECT_EQ(g.getString(box, "Enable"), "on");
  EXPECT_EQ(g.getString(box, "callback"), "standardize");

  g.set(box, "sTrInG", std::string("1.5"));
  EXPECT_EQ(g.getString(box, "String"), "1.5");
  g.set(box, "VALUE", 1.0);
  EXPECT_EQ(g.getNumber(box, "value"), 1.0);
  g.set(box, "Callback", std::string("load"));
  EXPECT_EQ(g.getString(box, "Callback"), "load");

  g.set(box, "Enable", std::string("oFF"));
  EXPECT_EQ(g.getString(box, "enable"), "off");
  g.set(box, "enable", std::string("On"));
  EXPECT_EQ(g.getString(box, "Enable"), "on");
  EXPECT_THROW_MSG(g.set(box, "Enable", std::string("maybe")), GraphicsError, "maybe");
  EXPECT_EQ(g.getString(box, "Enable"), "on");

  g.set(box, "position", Eigen::MatrixXd(row({20, 30, 120, 26})));
  EXPECT_TRUE(assert_near(matrixOf(g, box, "Position"), row({20, 30, 120, 26}), 0));
  EXPECT_THROW(g.set(box, "Position", Eigen::MatrixXd(row({1, 2, 3}))), GraphicsError);

  EXPECT_THROW(g.get(box, "Colour"), GraphicsError);
  EXPECT_THROW(g.set(box, "Colour", std::string("red")), GraphicsError);
  EXPECT_THROW(g.get(w, "Value"), GraphicsError);
  EXPECT_THROW(g.set(box, "String", 3.0), GraphicsError);
  EXPECT_THROW(g.set(box, "Value", std::string("1")), GraphicsError);
  EXPECT_THROW(g.set(box, "Enable", 1.0), GraphicsError);
  EXPECT_THROW(g.get(Handle(4321), "Tag"), GraphicsError);
  EXPECT_EQ(g.getString(box, "String"), "1.5");
}

TEST(Graphics, RadioButtonsOfOneGroupInOneWindowAreExclusive) {
  Graphics g;
  const Handle w = g.figure();
  auto radio = [&g](Handle window, const char* group) {
    return g.uicontrol(window,
                       ControlSpec{ControlStyle::radiobutton, "", "", 0, true, "", {}, "", group, true});
  };
  const Handle x = radio(w, "transform"), ln = radio(w, "transform"), alone = radio(w, "");
  const Handle elsewhere = radio(g.figure(), "transform");
  auto values = [&] {
    std::string v;
    for (Handle h : {x, ln, alone, elsewhere}) v += g.getNumber(h, "Value") != 0 ? '1' : '0';
    return v;
  };
  const struct {
    Handle h;
    double value;
    const char* expected;
  } steps[] = {
      {x, 1, "1000"},  {alone, 1, "1010"}, {elsewhere, 1, "1011"},
      {ln, 1, "0111"}, {ln, 0, "0011"},  // a group may have none switched on
      {x, 1, "1011"},
  };
  for (const auto& step : steps) {
    g.set(step.h, "Value", step.value);
    EXPECT_EQ(values(), step.expected);
  }
}

// A list box keeps the item chosen in its Value: a press (a script's, a
// click's) leaves it as it is, and the callback reads it.
TEST(Graphics, AListBoxKeepsItsChoice) {
  Graphics g;
  const Handle list = g.uicontrol(
      g.figure(), ControlSpec{ControlStyle::listbox, "Rows", "a\nb\nc", 0, true, "", {}, "", "", true});
  EXPECT_EQ(g.getString(list, "Style"), "listbox");
  g.set(list, "Value", 2.0);
  EXPECT_FALSE(clickvalue(g.object(list)));
  EXPECT_EQ(g.getNumber(list, "Value"), 2);
}

// Taking the plotted objects of one role away leaves the others in their
// order, and says which went.
TEST(Graphics, RemovePlottedTakesOnlyItsRole) {
  Graphics g;
  std::vector<Handle> deleted;
  g.subscribe([&](const GraphicsChange& c) {
    if (c.kind == GraphicsChange::Kind::deleted) deleted.push_back(c.handle);
  });
  g.hold(true);
  const Handle a = g.plot(row({1, 2}), row({1, 2}), "bo", 6, "specimens", PlotRole::specimens);
  const Handle b = g.plot(row({1}), row({1}), "ro", 6, "12", PlotRole::chosen);
  const Handle c = g.plot(row({3}), row({3}), "b*", 6, "mean shape", PlotRole::mean);
  const Handle d = g.plot(row({2}), row({2}), "ro", 6, "12", PlotRole::chosen);
  const Handle axes = g.gca();
  g.removePlotted(axes, PlotRole::chosen);
  EXPECT_EQ(linesIn(g, axes), (std::vector<Handle>{a, c}));
  EXPECT_EQ(deleted, (std::vector<Handle>{b, d}));
  EXPECT_FALSE(g.isValid(b));
  g.removePlotted(axes, PlotRole::chosen);  // none left: nothing happens
  EXPECT_EQ(deleted.size(), 2u);
}

TEST(Graphics, HoldDecidesWhetherPlot3ReplacesOrAdds) {
  Graphics g;
  const Handle first = g.plot3(row({1, 2, 3}), row({4, 5, 6}), row({7, 8, 9}), "bo");
  const Handle axes = g.gca();
  EXPECT_EQ(g.getString(axes, "Hold"), "off");
  const Handle second = g.plot3(row({0}), row({0}), row({0}), "r*");
  EXPECT_FALSE(g.isValid(first));
  EXPECT_EQ(linesIn(g, axes), std::vector<Handle>{second});

  g.hold(true);
  EXPECT_EQ(g.getString(axes, "hold"), "on");
  const Handle third = g.plot3(row({1}), row({1}), row({1}), "k.");
  EXPECT_EQ(linesIn(g, axes), (std::vector<Handle>{second, third}));
  EXPECT_TRUE(assert_near(matrixOf(g, third, "ZData"), row({1}), 0));
  EXPECT_EQ(g.getString(third, "LineStyle"), "k.");

  g.hold(false);
  EXPECT_THROW(g.plot3(row({1, 2}), row({1}), row({1, 2}), "b*"), GraphicsError);
  EXPECT_THROW(g.plot3(row({1, 2}), row({1, 2}), row({1, 2, 3}), "b*"), GraphicsError);
  EXPECT_THROW(g.plot3(row({1, 2}), row({1, 2}), row({1, 2}), "q"), GraphicsError);
  EXPECT_EQ(linesIn(g, axes), (std::vector<Handle>{second, third}));  // failures draw nothing
}

TEST(Graphics, PlotStyles) {
  for (const char* style : {"b*", "bo", "r*", "ro", "g", "k:", "rs", "ks", "b<", "k.", "b-"}) {
    EXPECT_FALSE(plotstyleproblem(style).has_value()) << style;
  }
  for (const char* style : {"q", "bgo", "o*", "b-:", "bo!"}) {
    EXPECT_TRUE(plotstyleproblem(style).has_value()) << style;
  }
}

TEST(Graphics, AxisEqualAndClearingAxes) {
  Graphics g;
  g.hold(true);
  const Handle axes = g.gca();
  EXPECT_EQ(g.getString(axes, "DataAspectRatioMode"), "auto");
  g.axis("equal");
  EXPECT_EQ(g.getString(axes, "DataAspectRatioMode"), "manual");
  EXPECT_THROW(g.axis("bogus"), GraphicsError);
  g.plot3(row({1}), row({2}), row({3}), "bo");
  g.plot3(row({4}), row({5}), row({6}), "ro");

  const std::vector<std::string> bad{"everything"};
  EXPECT_THROW(g.clearObject(axes, bad), GraphicsError);
  EXPECT_EQ(linesIn(g, axes).size(), 2u);

  g.clearObject(axes);
  EXPECT_TRUE(g.isValid(axes));
  EXPECT_TRUE(linesIn(g, axes).empty());
  EXPECT_EQ(g.getString(axes, "Hold"), "on");

  g.plot3(row({1}), row({2}), row({3}), "bo");
  const std::vector<std::string> reset{"reset"};
  g.clearObject(axes, reset);
  EXPECT_TRUE(linesIn(g, axes).empty());
  EXPECT_EQ(g.getString(axes, "Hold"), "off");
  EXPECT_EQ(g.getString(axes, "DataAspectRatioMode"), "auto");
}

TEST(Graphics, MessagesPicturesAndLastError) {
  Graphics g;
  testing::GraphicsRecorder recorded(g);
  g.msgbox("Data loaded");
  g.msgbox("Standardized");
  EXPECT_EQ(recorded.messages(), (std::vector<std::string>{"Data loaded", "Standardized"}));
  EXPECT_EQ(g.lastMessage(), "Standardized");

  const Handle w = g.figure();
  g.figure();
  g.figure(w);
  g.hold(true);
  g.plot3(row({1, 2}), row({3, 4}), row({5, 6}), "bo");
  g.plot3(row({7}), row({8}), row({9}), "r*");
  g.plot(PlotData::one(3), PlotData::one(4), "g.", 3);  // kept inline, copied by value
  g.print("-dmeta");
  EXPECT_THROW(g.print("-dpng"), GraphicsError);
  g.clearObject(g.gca());
  g.plot3(row({0, 0, 0}), row({0, 0, 0}), row({0, 0, 0}), "k.");

  EXPECT_EQ(recorded.pictures(), std::vector<Handle>{w});
  ASSERT_TRUE(g.clipboard().has_value());
  const ClipboardPicture& picture = *g.clipboard();
  EXPECT_EQ(picture.figure, w);
  ASSERT_EQ(picture.lines.size(), 3u);
  EXPECT_TRUE(assert_near(picture.lines[0].xdata.map(), row({1, 2}), 0));
  EXPECT_TRUE(assert_near(picture.lines[0].zdata.map(), row({5, 6}), 0));
  EXPECT_EQ(picture.lines[1].lineStyle, "r*");
  const GraphicsObject& point = picture.lines[2];
  EXPECT_EQ(point.xdata.map(), row({3}));
  EXPECT_EQ(point.ydata.map(), row({4}));
  EXPECT_EQ(point.zdata.size(), 0);

  EXPECT_EQ(g.lastError(), "");
  g.setLastError("index out of bounds");
  EXPECT_EQ(g.lastError(), "index out of bounds");
}

TEST(Graphics, ListenersHearEveryKindOfChange) {
  Graphics g;
  std::vector<GraphicsChange> heard;
  bool createdWasValid = true;
  const int id = g.subscribe([&](const GraphicsChange& change) {
    if (change.kind == GraphicsChange::Kind::created) createdWasValid &= g.isValid(change.handle);
    heard.push_back(change);
  });
  const auto count = [&](GraphicsChange::Kind kind) {
    return std::count_if(heard.begin(), heard.end(),
                         [&](const GraphicsChange& c) { return c.kind == kind; });
  };

  const Handle w = g.figure();
  const Handle box = g.uicontrol(w, control(ControlStyle::edit, "Box", ""));
  g.set(box, "String", std::string("2"));
  const Handle line = g.plot3(row({1}), row({2}), row({3}), "bo");
  const Handle axes = g.gca();
  g.msgbox("done");
  g.print("-dmeta");
  g.setLastError("failed");
  g.close(w);

  using Kind = GraphicsChange::Kind;
  EXPECT_EQ(count(Kind::created), 4);  // window, control, axes, line
  EXPECT_TRUE(createdWasValid);
  std::vector<Handle> deleted, expected{w, line, axes, box};
  for (const GraphicsChange& c : heard) {
    if (c.kind == Kind::deleted) deleted.push_back(c.handle);
    EXPECT_TRUE(c.kind != Kind::message || c.detail == "done");
    EXPECT_TRUE(c.kind != Kind::picture || c.handle == w);
    EXPECT_TRUE(c.kind != Kind::error || c.detail == "failed");
  }
  std::sort(deleted.begin(), deleted.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(deleted, expected);
  EXPECT_EQ(std::count_if(heard.begin(), heard.end(),
                          [&](const GraphicsChange& c) {
                            return c.kind == Kind::property && c.handle == box &&
                                   c.detail == "String";
                          }),
            1);
  EXPECT_EQ(count(Kind::message), 1);
  EXPECT_EQ(count(Kind::picture), 1);
  EXPECT_EQ(count(Kind::error), 1);

  g.unsubscribe(id);
  const size_t before = heard.size();
  g.figure();
  g.msgbox("unheard");
  EXPECT_EQ(heard.size(), before);
}

TEST(Graphics, DescendantsComeDepthFirstInOrderOfCreationAndRemovalKeepsTheOrder) {
  Graphics g;
  const Handle first = g.figure();
  const Handle a1 = g.axes(first);
  const Handle l1 =
      g.plot(Eigen::RowVectorXd::Constant(1, 1), Eigen::RowVectorXd::Constant(1, 2), "b.", 3);
  g.hold(true);
  const Handle l2 =
      g.plot(Eigen::RowVectorXd::Constant(1, 3), Eigen::RowVectorXd::Constant(1, 4), "b.", 3);
  const Handle a2 = g.axes(first);
  const Handle l3 =
      g.plot(Eigen::RowVectorXd::Constant(1, 5), Eigen::RowVectorXd::Constant(1, 6), "r.", 3);
  const Handle second = g.figure();
  const Handle middle = g.figure();
  const Handle last = g.figure();
  EXPECT_EQ(g.descendants(kRoot, ObjectType::line), (std::vector<Handle>{l1, l2, l3}));
  EXPECT_EQ(g.descendants(kRoot, ObjectType::axes), (std::vector<Handle>{a1, a2}));
  // A window from the middle of the list goes; the others keep their order.
  g.close(middle);
  EXPECT_EQ(g.object(kRoot).children, (std::vector<Handle>{first, second, last}));
  g.clearObject(a1);
  EXPECT_TRUE(g.object(a1).children.empty());
  EXPECT_EQ(g.descendants(first, ObjectType::line), std::vector<Handle>{l3});
}

TEST(Graphics, TheWindowSystemSetsBothPositionsAsTheyAre) {
  Graphics g;
  const Handle w = g.figure();
  std::vector<std::string> heard;
  g.subscribe([&](const GraphicsChange& c) { heard.push_back(c.detail); });
  // A frame of 26 pixels below the drawing area: the corners differ.
  g.setWindowGeometry(w, Eigen::Vector4d(100, 126, 560, 420), Eigen::Vector4d(100, 100, 560, 446));
  EXPECT_EQ(g.object(w).details().position, Eigen::Vector4d(100, 126, 560, 420));
  EXPECT_EQ(g.object(w).details().outerPosition, Eigen::Vector4d(100, 100, 560, 446));
  EXPECT_EQ(heard, (std::vector<std::string>{"Position", "OuterPosition"}));
  // Moving one corner afterwards keeps that frame.
  g.set(w, "OuterPosition", Eigen::MatrixXd(Eigen::RowVector4d(0, 0, 400, 300)));
  EXPECT_EQ(g.object(w).details().position.head<2>(), Eigen::Vector2d(0, 26));
  g.axes(w);
  EXPECT_THROW(g.setWindowGeometry(g.gca(), Eigen::Vector4d::Zero(), Eigen::Vector4d::Zero()),
               GraphicsError);
}

TEST(Graphics, ApplicationData) {
  Graphics g;
  const Handle w = g.figure();
  EXPECT_FALSE(g.getappdata(w, "state").has_value());
  g.setappdata(w, "state", 1.0);
  g.setappdata(w, "state", std::string("loaded"));
  g.setappdata(kRoot, "state", 7.0);
  ASSERT_TRUE(g.getappdata(w, "state").has_value());
  EXPECT_EQ(*g.getappdata(w, "state"), Value("loaded"));
  EXPECT_EQ(*g.getappdata(kRoot, "state"), Value(7.0));
  g.rmappdata(w, "state");
  EXPECT_FALSE(g.getappdata(w, "state").has_value());
  EXPECT_TRUE(g.getappdata(kRoot, "state").has_value());
  EXPECT_THROW(g.setappdata(Handle(999), "state", 1.0), GraphicsError);
}

// Extent: the room a control's text needs at its width, estimated until the
// window layer says what it measured; the axis titles of a flat plot.
TEST(Graphics, ExtentEstimatesTheTextUntilMeasured) {
  struct Case {
    std::string text;
    double width;
    double height;  // expected, estimated
  };
  const std::vector<Case> cases{
      {"", 100, 25},                           // one line
      {"one\ntwo\nthree", 100, 59},            // three
      {std::string(24, 'x'), 100, 59},         // 192 pixels wrapped at 92: three lines
      {std::string(20, 'x') + "\n", 168, 42},  // 160 pixels fit 160; an empty line after
  };
  for (const Case& c : cases) {
    Graphics g;
    const Handle w = g.figure();
    ControlSpec box;
    box.style = ControlStyle::text;
    box.string = c.text;
    box.position = Eigen::Vector4d(10, 10, c.width, 24);
    const Handle h = g.uicontrol(w, box);
    const Eigen::MatrixXd extent = std::get<Eigen::MatrixXd>(g.get(h, "Extent"));
    EXPECT_EQ(extent, (Eigen::MatrixXd{{0, 0, c.width, c.height}})) << c.text;
    g.setExtent(h, c.width, 7);
    EXPECT_EQ(std::get<Eigen::MatrixXd>(g.get(h, "Extent"))(3), 7) << c.text;
    EXPECT_THROW(g.set(h, "Extent", Eigen::MatrixXd{{0, 0, 1, 1}}), GraphicsError);
    EXPECT_THROW(g.setExtent(w, 1, 1), GraphicsError);
  }
  Graphics g;
  g.figure();
  const Handle axes = g.gca();
  EXPECT_EQ(g.getString(axes, "XLabel"), "");
  g.set(axes, "XLabel", std::string("ln of centroid size"));
  g.set(axes, "YLabel", std::string("regression score"));
  EXPECT_EQ(g.getString(axes, "XLabel"), "ln of centroid size");
  EXPECT_EQ(g.getString(axes, "YLabel"), "regression score");
}

// Message boxes and copied pictures are announced, and the model keeps only
// the last of each: a long session, or a picture of a large 2D plot copied
// again and again, does not pile up.
TEST(Graphics, KeepsNoHistoryOfMessagesAndPictures) {
  struct Case {
    const char* what;
    int times;
  };
  for (const Case& c : std::vector<Case>{{"once", 1}, {"twice", 2}, {"a thousand times", 1000}}) {
    SCOPED_TRACE(c.what);
    Graphics g;
    testing::GraphicsRecorder recorded(g);
    const Handle window = g.figure();
    g.hold(true);
    // One object a point, as a 2D plot has.
    for (int i = 0; i < 50; ++i) g.plot(PlotData::one(i), PlotData::one(-i), "bo", 3);
    for (int i = 0; i < c.times; ++i) {
      g.msgbox("message " + std::to_string(i));
      g.print("-dmeta");
    }
    EXPECT_EQ(recorded.messages().size(), static_cast<size_t>(c.times));
    EXPECT_EQ(recorded.pictures(), std::vector<Handle>(static_cast<size_t>(c.times), window));
    EXPECT_EQ(g.lastMessage(), "message " + std::to_string(c.times - 1));
    ASSERT_TRUE(g.clipboard().has_value());
    EXPECT_EQ(g.clipboard()->figure, window);
    EXPECT_EQ(g.clipboard()->lines.size(), 50u);
  }
}

}  // namespace
}  // namespace tarvolin
