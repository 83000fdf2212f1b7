#include <functional>

#include "document/graphics.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

// A window with a control, a radio button of a group switched on, axes and
// a plotted object; the handles of the four to set.
struct Scene {
  Graphics g;
  Handle window, control, radio, axes;
  std::vector<std::string> changes;  // each as kind, handle and detail
  Scene() {
    window = g.figure();
    ControlSpec box;
    box.style = ControlStyle::edit;
    box.tag = "Box";
    control = g.uicontrol(window, box);
    ControlSpec button;
    button.style = ControlStyle::radiobutton;
    button.group = "scale";
    button.value = 1;
    g.uicontrol(window, button);
    radio = g.uicontrol(window, button);
    g.hold(true);
    g.plot(PlotData::one(1), PlotData::one(2), "bo", 6);
    axes = g.gca();
    g.subscribe([this](const GraphicsChange& change) {
      changes.push_back(std::to_string(static_cast<int>(change.kind)) + " " +
                        std::to_string(change.handle.value()) + " " + change.detail);
    });
  }
  Handle of(char which) const {
    switch (which) {
      case 'w':
        return window;
      case 'c':
        return control;
      case 'r':
        return radio;
      case 'a':
        return axes;
      default:
        return kRoot;
    }
  }
};

// Each typed setter changes what setting by name changes, tells the
// listeners the same, and refuses what set by name refuses, with its words.
TEST(TypedSetters, AnnounceAndRefuseAsSettingByName) {
  using Setter = std::function<void(Graphics&, Handle)>;
  struct Case {
    char object;  // w window, c control, r radio button, a axes, 0 the screen
    const char* name;
    PropertyValue byName;
    Setter typed;
  };
  const Eigen::Vector4d place(5, 6, 70, 80);
  const std::vector<Case> cases = {
      {'c', "Tag", std::string("Other"), [](Graphics& g, Handle h) { g.setTag(h, "Other"); }},
      {'0', "Units", std::string("normalized"),
       [](Graphics& g, Handle h) { g.setUnits(h, "normalized"); }},
      {'w', "Position", Eigen::MatrixXd(place.transpose()),
       [&](Graphics& g, Handle h) { g.setPosition(h, place); }},
      {'a', "Position", Eigen::MatrixXd(place.transpose()),
       [&](Graphics& g, Handle h) { g.setPosition(h, place); }},
      {'w', "OuterPosition", Eigen::MatrixXd(place.transpose()),
       [&](Graphics& g, Handle h) { g.setOuterPosition(h, place); }},
      {'w', "ActivePositionProperty", std::string("position"),
       [](Graphics& g, Handle h) { g.setActivePositionProperty(h, "position"); }},
      {'w', "Visible", std::string("off"), [](Graphics& g, Handle h) { g.setVisible(h, false); }},
      {'w', "Name", std::string("Plot"), [](Graphics& g, Handle h) { g.setName(h, "Plot"); }},
      {'c', "String", std::string("1.5"), [](Graphics& g, Handle h) { g.setString(h, "1.5"); }},
      {'c', "Value", 2.0, [](Graphics& g, Handle h) { g.setValue(h, 2); }},
      {'r', "Value", 1.0, [](Graphics& g, Handle h) { g.setValue(h, 1); }},
      {'c', "Enable", std::string("off"), [](Graphics& g, Handle h) { g.setEnable(h, false); }},
      {'c', "FontName", std::string("monospace"),
       [](Graphics& g, Handle h) { g.setFontName(h, "monospace"); }},
      {'a', "Title", std::string("t"), [](Graphics& g, Handle h) { g.setTitle(h, "t"); }},
      {'a', "XLabel", std::string("x"), [](Graphics& g, Handle h) { g.setXLabel(h, "x"); }},
      {'a', "YLabel", std::string("y"), [](Graphics& g, Handle h) { g.setYLabel(h, "y"); }},
      // Refused: the object has no such property.
      {'a', "String", std::string("1.5"), [](Graphics& g, Handle h) { g.setString(h, "1.5"); }},
      {'w', "Value", 1.0, [](Graphics& g, Handle h) { g.setValue(h, 1); }},
      {'c', "Visible", std::string("off"), [](Graphics& g, Handle h) { g.setVisible(h, false); }},
      {'c', "Title", std::string("t"), [](Graphics& g, Handle h) { g.setTitle(h, "t"); }},
      {'0', "Position", Eigen::MatrixXd(place.transpose()),
       [&](Graphics& g, Handle h) { g.setPosition(h, place); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.object) + " " + c.name);
    Scene byName, typed;
    std::string refusedByName, refusedTyped;
    try {
      byName.g.set(byName.of(c.object), c.name, c.byName);
    } catch (const GraphicsError& error) {
      refusedByName = error.what();
    }
    try {
      c.typed(typed.g, typed.of(c.object));
    } catch (const GraphicsError& error) {
      refusedTyped = error.what();
    }
    EXPECT_EQ(refusedTyped, refusedByName);
    EXPECT_EQ(typed.changes, byName.changes);
    if (refusedTyped.empty()) {
      // Announced under the property's own name, last (a radio button's
      // group is switched off first).
      ASSERT_FALSE(typed.changes.empty());
      EXPECT_EQ(typed.changes.back(),
                std::to_string(static_cast<int>(GraphicsChange::Kind::property)) + " " +
                    std::to_string(typed.of(c.object).value()) + " " + c.name);
    }
    for (char o : {'w', 'c', 'r', 'a', '0'}) {
      for (const char* property :
           {"Tag", "Units", "Position", "String", "Value", "Enable", "Visible", "Name",
            "OuterPosition", "Title", "XLabel", "YLabel", "FontName", "ActivePositionProperty"}) {
        std::optional<PropertyValue> was, is;
        try {
          was = byName.g.get(byName.of(o), property);
          is = typed.g.get(typed.of(o), property);
        } catch (const GraphicsError&) {
          continue;  // an object without the property
        }
        EXPECT_EQ(is, was) << o << " " << property;
      }
    }
    if (std::string(c.name) == "Value" && c.object == 'r' && refusedTyped.empty()) {
      // The other radio button of the group went off, and was told.
      EXPECT_GE(typed.changes.size(), 2u);
    }
  }
}

}  // namespace
}  // namespace tarvolin
