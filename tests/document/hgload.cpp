#include "document/hgload.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::dataPath;

std::string resource(const std::string& name) {
  return std::string(TARVOLIN_RESOURCES_DIR) + "/" + name;
}

constexpr std::array<std::string_view, 17> kTags2D = {
    "FileBox",   "UseCSButton", "LoadXButton",  "XVarBox",        "MinBox",      "MaxBox",
    "MeanBox",   "MedianBox",   "StandardBox",  "XButton",        "LnButton",    "LogButton",
    "GoRegress", "CSBox",       "ShowStandard", "AcceptStandard", "SaveStandard"};

std::vector<Handle> controlsOf(const Graphics& g, Handle window) {
  return g.descendants(window, ObjectType::uicontrol);
}

// The controls of `window` whose callback is exactly `callback`.
std::vector<Handle> sending(const Graphics& g, Handle window, const std::string& callback) {
  std::vector<Handle> found;
  for (Handle c : controlsOf(g, window)) {
    if (g.object(c).details().callback == callback) found.push_back(c);
  }
  return found;
}

void expectSoundLayout(const Graphics& g, Handle window) {
  const Eigen::Vector4d frame = g.object(window).details().position;
  for (Handle c : controlsOf(g, window)) {
    const GraphicsObject& o = g.object(c);
    EXPECT_FALSE(o.details().tooltip.empty()) << o.details().string;
    if (o.details().style == ControlStyle::pushbutton ||
        o.details().style == ControlStyle::radiobutton) {
      EXPECT_FALSE(o.details().callback.empty()) << o.details().string;
    }
    EXPECT_GE(o.details().position(0), 0) << o.details().string;
    EXPECT_GE(o.details().position(1), 0) << o.details().string;
    EXPECT_LE(o.details().position(0) + o.details().position(2), frame(2)) << o.details().string;
    EXPECT_LE(o.details().position(1) + o.details().position(3), frame(3)) << o.details().string;
  }
}

TEST(Hgload, MainWindowCarriesEveryTagOfThe3DWorkflowOnce) {
  Graphics g;
  const Handle main = hgload(g, resource("Tarvolin.fig"));
  EXPECT_EQ(g.currentFigure(), main);
  EXPECT_EQ(g.getString(main, "Name"), "Tarvolin");
  EXPECT_EQ(g.getString(main, "Tag"), "Tarvolin");
  EXPECT_EQ(g.getString(main, "Visible"), "on");
  EXPECT_TRUE(testing::assert_near(g.object(main).details().position,
                                   Eigen::Vector4d(100, 100, 660, 560), 0));
  Graphics fresh;
  const GraphicsObject& plain = fresh.object(fresh.figure());
  EXPECT_TRUE(testing::assert_near(
      g.object(main).details().outerPosition - g.object(main).details().position,
      plain.details().outerPosition - plain.details().position, 0));
  std::vector<std::string_view> tags(kTags2D.begin(), kTags2D.end());
  tags.push_back("ZORButton");
  for (std::string_view tag : tags) EXPECT_EQ(g.findobj(tag, main).size(), 1u) << tag;
  expectSoundLayout(g, main);

  // The window opens in the state "no data": what "Clear" disables is off.
  for (std::string_view off : {"UseCSButton", "LoadXButton", "AcceptStandard", "SaveStandard",
                               "ShowStandard", "GoRegress"}) {
    EXPECT_EQ(g.getString(g.findobj(off, main).front(), "Enable"), "off") << off;
  }
  EXPECT_EQ(g.getString(g.findobj("FileBox", main).front(), "String"), "No Data Loaded");
  EXPECT_EQ(g.getString(g.findobj("StandardBox", main).front(), "String"), "0.0000");
  EXPECT_EQ(g.object(g.findobj("StandardBox", main).front()).details().callback, "");
  EXPECT_EQ(g.object(g.findobj("StandardBox", main).front()).details().style, ControlStyle::edit);
  EXPECT_EQ(g.object(g.findobj("CSBox", main).front()).details().style, ControlStyle::checkbox);
  EXPECT_EQ(g.object(g.findobj("ZORButton", main).front()).details().style,
            ControlStyle::radiobutton);

  for (const char* action :
       {"LoadData", "LoadWire", "Regress", "UseCS", "ShowData", "LoadxList", "UseX", "UseLn",
        "UseLog", "Acceptx", "SaveFile", "Clear", "ShowRegress", "ClearFigure", "CopyImage"}) {
    EXPECT_EQ(sending(g, main, "stand3sw('" + std::string(action) + "')").size(), 1u) << action;
  }
  EXPECT_EQ(g.object(g.findobj("XButton", main).front()).details().callback, "stand3sw('UseX')");
  EXPECT_EQ(g.object(g.findobj("AcceptStandard", main).front()).details().callback,
            "stand3sw('Regress')");
  EXPECT_EQ(sending(g, main, "openfig('Tarvolin2D','reuse')").size(), 1u);
  for (const char* callback :
       {"pushbutton1", "pushbutton2", "pushbutton3", "edit1", "radiobutton1", "radiobutton2",
        "radiobutton3", "pushbutton4", "edit2", "edit4", "edit5", "edit6", "edit7", "pushbutton5",
        "edit8", "pushbutton6", "pushbutton7", "pushbutton8"}) {
    const std::string text =
        "Tarvolin('" + std::string(callback) + "_Callback',gcbo,[],guidata(gcbo))";
    const std::vector<Handle> homes = sending(g, main, text);
    ASSERT_EQ(homes.size(), 1u) << callback;
    // Only the mode switch fires; the others sit on texts, which never do.
    const ControlStyle style = g.object(homes.front()).details().style;
    EXPECT_TRUE(style == ControlStyle::text || std::string(callback) == "radiobutton1") << callback;
  }
}

TEST(Hgload, TwoDimensionalWindowSendsTheTwelveActions) {
  Graphics g;
  const Handle window = hgload(g, resource("Tarvolin2D.fig"));
  EXPECT_EQ(g.getString(window, "Name"), "Tarvolin 2D");
  EXPECT_EQ(g.getString(window, "Tag"), "Tarvolin2D");
  for (std::string_view tag : kTags2D) EXPECT_EQ(g.findobj(tag, window).size(), 1u) << tag;
  EXPECT_TRUE(g.findobj("ZORButton", window).empty());
  expectSoundLayout(g, window);

  for (const char* action : {"LoadData", "Regress", "UseCS", "ShowData", "LoadxList", "UseX",
                             "UseLn", "UseLog", "SaveFile", "Clear", "ShowRegress"}) {
    EXPECT_EQ(sending(g, window, "standsw('" + std::string(action) + "')").size(), 1u) << action;
  }
  EXPECT_EQ(g.object(g.findobj("GoRegress", window).front()).details().callback,
            "Tarvolin('pushbutton15_Callback',gcbo,[],guidata(gcbo))");
  for (Handle c : controlsOf(g, window)) {
    EXPECT_EQ(g.object(c).details().callback.find("stand3sw"), std::string::npos);
  }
}

TEST(Hgload, LeftOutKeysTakeTheirDefaults) {
  Graphics g;
  const Handle window = hgload(g, dataPath("fig/minimal.fig"));
  const std::vector<Handle> controls = controlsOf(g, window);
  ASSERT_EQ(controls.size(), 1u);
  const GraphicsObject& text = g.object(controls.front());
  const ControlSpec defaults;
  EXPECT_EQ(text.details().style, ControlStyle::text);
  EXPECT_EQ(text.tag, "");
  EXPECT_EQ(text.details().string, "");
  EXPECT_EQ(text.details().value, 0);
  EXPECT_TRUE(text.details().enable);
  EXPECT_EQ(text.details().callback, "");
  EXPECT_TRUE(testing::assert_near(text.details().position, defaults.position, 0));
  EXPECT_EQ(g.getString(window, "Visible"), "on");
  EXPECT_EQ(g.getString(controls.front(), "Visible"), "on");
}

// Every failure leaves the model as it was: no window, the same current one.
void expectRefused(const std::string& path, const std::string& fragment) {
  Graphics g;
  const Handle before = g.figure();
  EXPECT_THROW_MSG(hgload(g, path), GraphicsError, fragment);
  EXPECT_EQ(g.object(kRoot).children, std::vector<Handle>{before});
  EXPECT_EQ(g.currentFigure(), before);
}

TEST(Hgload, MissingFileIsNamed) {
  expectRefused(dataPath("fig/no_such_window.fig"),
                dataPath("fig/no_such_window.fig") + ": cannot read the figure file");
}

TEST(Hgload, BadJsonNamesTheFileAndLine) {
  expectRefused(dataPath("fig/bad_json_missing_comma.fig"),
                dataPath("fig/bad_json_missing_comma.fig") + ":5: not valid JSON");
}

TEST(Hgload, UnknownStyleNamesTheControl) {
  expectRefused(dataPath("fig/unknown_style.fig"),
                "control 2 (tag \"Level\"): unknown style \"slider\"");
}

TEST(Hgload, ValueOfTheWrongKindNamesTheControl) {
  expectRefused(dataPath("fig/value_is_text.fig"),
                "control 3 (tag \"KeepBox\"): \"value\" must be a number");
}

TEST(Hgload, OtherFormatIsRefused) {
  expectRefused(dataPath("fig/wrong_format.fig"), "\"format\" must be \"tarvolin-figure\"");
}

TEST(Hgload, MisspeltKeyIsRefused) {
  expectRefused(dataPath("fig/unknown_key.fig"),
                "control 1 (tag \"Go\"): unknown key \"tooltipp\"");
}

TEST(Hgload, EveryWrongKindIsRefused) {
  testing::TempDir dir;
  const std::string path = dir.file("kinds.fig");
  const auto refuses = [&](const std::string& text, const std::string& fragment) {
    testing::writeText(path, text);
    expectRefused(path, fragment);
  };
  refuses(R"({"format": "tarvolin-figure", "version": 2})", "version 2 is not known");
  refuses(R"({"format": "tarvolin-figure", "controls": {}})", "\"controls\" must be a list");
  refuses(R"({"format": "tarvolin-figure", "window": {"position": [1, 2, 3]}})",
          "window: \"position\" must be four numbers");
  refuses(R"({"format": "tarvolin-figure", "window": {"visible": "maybe"}})",
          "window: \"visible\" must be \"on\" or \"off\"");
  refuses(R"({"format": "tarvolin-figure", "controls": [{"tag": "A"}]})",
          "control 1 (tag \"A\"): \"style\" is missing");
  refuses(R"({"format": "tarvolin-figure", "controls": [{"style": "edit", "enable": true}]})",
          "control 1: \"enable\" must be a text");
  refuses(R"({"format": "tarvolin-figure", "controls": [7]})", "control 1: must be an object");
  refuses("", path + ":1: not valid JSON");
  refuses(R"({"format": "tarvolin-figure", "window": {"position": [1e999, 2, 3, 4]}})",
          path + ": not a figure file Tarvolin can read: number overflow parsing '1e999'");
  refuses(std::string(5 << 20, ' '), path + ": is 5242880 bytes, too large for a figure file");
}

}  // namespace
}  // namespace tarvolin
