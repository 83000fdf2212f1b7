#include "workflows/stand3sw.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <sstream>

#include "cli/tarvolincli.h"
#include "core/console.h"
#include "core/sprintf.h"
#include "formats/dload.h"
#include "tests/document/graphicsrecorder.h"
#include "tests/testing.h"
#include "workflowtesting.h"

namespace tarvolin {
namespace {

using testing::examplePath;
using testing::readText;
using testing::TempDir;
using testing::writeText;

const std::string kZor = examplePath("skulls_zor.txt");
const std::string kTps = examplePath("skulls_tps.txt");
const std::string kMass = examplePath("skulls_mass.txt");
const std::string kWire = examplePath("skulls_wire.txt");

// A main window carrying the eighteen tags the switchyard uses, and the
// switchyard driving it.
class Stand3swTest : public ::testing::Test {
 protected:
  Stand3swTest() : main_(testing::testWindow(graphics_, true)) {}

  Handle tag(const char* t) const { return graphics_.findobj(t).front(); }
  std::string text(const char* t) const { return graphics_.getString(tag(t), "String"); }
  double value(const char* t) const { return graphics_.getNumber(tag(t), "Value"); }
  bool enabled(const char* t) const { return graphics_.getString(tag(t), "Enable") == "on"; }
  void type(const char* t, std::string s) { graphics_.set(tag(t), "String", std::move(s)); }
  void click(const char* t, double v) { graphics_.set(tag(t), "Value", v); }

  // Runs the action with the next file dialog answered by `path` ("" cancels).
  void run(std::string_view action, std::optional<std::string> path = std::nullopt) {
    if (path) path->empty() ? dialogs_.cancel() : dialogs_.choose(*path);
    sw_(action);
  }

  void loadAndStandardize(const char* transform) {
    run("LoadData", kZor);
    run("UseCS");
    run(transform);
    run("Acceptx");
    run("Regress");
  }

  // The point sets in the plot window, with their styles, in drawing order.
  std::vector<std::string> plotStyles() const {
    std::vector<std::string> styles;
    for (Handle h : graphics_.descendants(sw_.state().fighand1->handle, ObjectType::line)) {
      styles.emplace_back(graphics_.object(h).lineStyle);
    }
    return styles;
  }

  static std::vector<std::string> repeated(const std::string& style, size_t n) {
    return std::vector<std::string>(n, style);
  }

  static std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  }

  // What tarvolin-cli standardize writes for the same choices.
  static std::string cliStandardize(std::vector<std::string> words) {
    testing::CwdGuard cwd;
    words.insert(words.begin(), {"tarvolin-cli", "standardize", kZor});
    std::vector<const char*> argv;
    for (const std::string& w : words) argv.push_back(w.c_str());
    std::ostringstream out, err;
    EXPECT_EQ(runcli(static_cast<int>(argv.size()), argv.data(), out, err), 0) << err.str();
    return out.str();
  }

  testing::CwdGuard cwd_;
  Graphics graphics_;
  testing::GraphicsRecorder recorded_{graphics_};
  ScriptedFileDialogs dialogs_;
  Stand3sw sw_{graphics_, dialogs_};
  Handle main_;
};

TEST_F(Stand3swTest, LoadDataReadsSuperimposesSummarisesPlotsAndEnables) {
  ConsoleCapture console;
  run("LoadData", kZor);
  const Stand3sw::State& s = sw_.state();
  EXPECT_EQ(text("FileBox"), "skulls_zor.txt \nhas 40 specimens \nwith 14 landmarks");
  ASSERT_EQ(sw_.DATA().rows(), 40);
  ASSERT_EQ(sw_.DATA().cols(), 43);
  EXPECT_EQ(sw_.DATA().col(42), dload(kZor).col(42));
  EXPECT_EQ(sw_.DATAV().landmarks(), 14);
  EXPECT_EQ(sw_.DATAV().specimens(), 40);
  EXPECT_EQ(sw_.mean1().rows(), 14);
  EXPECT_EQ(s.wireactive, 0.0);
  EXPECT_EQ(console.text(), "stemp = using ZOR format\n");

  ASSERT_TRUE(s.fighand1);
  EXPECT_NE(s.fighand1->handle, main_);
  EXPECT_EQ(graphics_.currentFigure(), s.fighand1->handle);
  EXPECT_EQ(plotStyles(), joined({{"b*"}, repeated("bo", 40)}));
  EXPECT_TRUE(enabled("UseCSButton"));
  EXPECT_TRUE(enabled("LoadXButton"));
  EXPECT_FALSE(enabled("AcceptStandard"));

  // A second load replaces the plot of the first.
  run("LoadData", kZor);
  EXPECT_EQ(plotStyles(), joined({{"b*"}, repeated("bo", 40)}));
  // The dialog offers every landmark format first.
  EXPECT_EQ(dialogs_.requests().back().filter, kLandmarkFilter);
}

// Every point set a step draws stands for the role its legend names.
TEST_F(Stand3swTest, EveryPlottedSetCarriesTheRoleOfItsLegend) {
  TempDir dir;
  const struct Step {
    const char* action;
    std::string answer;
  } steps[] = {{"LoadWire", kWire},
               {"LoadData", kZor},
               {"UseCS", ""},
               {"UseLn", ""},
               {"Acceptx", ""},
               {"Regress", ""},
               {"SaveFile", dir.file("out.txt")},
               {"ShowRegress", ""}};
  for (const Step& step : steps) {
    run(step.action, step.answer.empty() ? std::nullopt : std::optional(step.answer));
    ASSERT_EQ(graphics_.lastError(), "") << step.action;
    if (!sw_.state().fighand1) continue;
    SCOPED_TRACE(step.action);
    testing::expectRolesOfLegends(graphics_, sw_.state().fighand1->handle);
  }
  // The last plot shows every role a 3D plot has.
  EXPECT_GT(testing::expectRolesOfLegends(graphics_, sw_.state().fighand1->handle), 0u);
}

// Each step tells the window what it did, and the plot says what it shows:
// a legend name for every point set and a title naming the data set.
TEST_F(Stand3swTest, EachStepSaysWhatItDidAndThePlotNamesWhatItShows) {
  std::vector<GraphicsChange> said;
  graphics_.subscribe([&said](const GraphicsChange& c) {
    if (c.kind == GraphicsChange::Kind::status) said.push_back(c);
  });
  // As a click on the main window does: what is said belongs there.
  graphics_.setCallbackObject(tag("FileBox"));
  TempDir dir;
  const std::string out = dir.file("out.txt");
  // Legend names in first-drawn order, joined by "; ".
  const std::string data = "mean shape; specimens, superimposed";
  const std::string standardized =
      "mean of standardized; standardized specimens; specimens, superimposed";
  const struct Step {
    const char* action;
    std::string answer;
    std::string says;   // how the last status text begins
    std::string names;  // the legend names drawn
  } steps[] = {
      {"LoadData", kZor, "Loaded 40 specimens with 14 landmarks from skulls_zor.txt", data},
      {"UseCS", "", "x is the centroid size of the 40 specimens; choose x, ln x or log10 x next",
       data},
      {"UseLn", "", "ln x runs from ", data},
      {"Acceptx", "", "x accepted: type the standard value and click Standardize", data},
      {"Regress", "", "Standardized 40 specimens to ln x = ", standardized},
      {"SaveFile", out, "Saved 40 specimens to " + out, standardized},
      {"ShowRegress", "", "Showing the 40 standardized specimens as they are saved",
       standardized + "; standardized specimens, as saved; mean of standardized, as saved"},
  };
  for (const Step& step : steps) {
    said.clear();
    run(step.action, step.answer.empty() ? std::nullopt : std::optional(step.answer));
    ASSERT_EQ(graphics_.lastError(), "") << step.action;
    ASSERT_FALSE(said.empty()) << step.action << " said nothing";
    EXPECT_EQ(said.back().detail.rfind(step.says, 0), 0u)
        << step.action << ": " << said.back().detail;
    EXPECT_EQ(said.back().handle, main_) << step.action << " spoke in another window";
    std::string names;
    for (Handle h : graphics_.descendants(sw_.state().fighand1->handle, ObjectType::line)) {
      const std::string name(graphics_.object(h).displayName);
      if (("; " + names + "; ").find("; " + name + "; ") != std::string::npos) continue;
      names += (names.empty() ? "" : "; ") + name;
    }
    EXPECT_EQ(names, step.names) << step.action;
  }
  const Handle plot = sw_.state().fighand1->handle;
  EXPECT_EQ(graphics_.getString(plot, "Name"), "Tarvolin 3D plot: skulls_zor.txt");
  EXPECT_EQ(graphics_.getString(graphics_.object(plot).children.front(), "Title"),
            "skulls_zor.txt: standardized to ln x = " + text("StandardBox"));
}

// Lines after a blank line that ends the data or the x list are not read:
// the status line says so beside what was loaded, and so does the console.
TEST_F(Stand3swTest, LinesNotReadAfterABlankLineAreSaid) {
  std::vector<std::string> said;
  graphics_.subscribe([&said](const GraphicsChange& c) {
    if (c.kind == GraphicsChange::Kind::status) said.push_back(c.detail);
  });
  graphics_.setCallbackObject(tag("FileBox"));
  TempDir dir;
  writeText(dir.file("data.txt"), readText(kZor) + "\n1 2 3\n4 5 6\n");
  writeText(dir.file("x.txt"), readText(examplePath("skulls_mass.txt")) + " \r\n9\n");
  writeText(dir.file("wire.txt"), "1 1 2\n2 2 3\n\n3 3 4\n");
  const struct {
    const char* action;
    std::string file;
    std::string says;
  } steps[] = {
      {"LoadData", "data.txt",
       "Loaded 40 specimens with 14 landmarks from data.txt; line 41 is blank: the 2 lines after "
       "it were not read"},
      {"LoadxList", "x.txt",
       "Loaded 40 x values from x.txt; choose x, ln x or log10 x next; line 41 is blank: the line "
       "after it was not read"},
      {"LoadWire", "wire.txt",
       "Loaded a wireframe of 2 wires from " + dir.file("wire.txt") +
           "; it is drawn with every plot; line 3 is blank: the line after it was not read"},
  };
  for (const auto& step : steps) {
    ConsoleCapture console;
    said.clear();
    run(step.action, dir.file(step.file));
    ASSERT_EQ(graphics_.lastError(), "") << step.action;
    ASSERT_FALSE(said.empty()) << step.action;
    EXPECT_EQ(said.back(), step.says);
    const std::string notice = step.says.substr(step.says.rfind("; line ") + 2);
    EXPECT_NE(console.text().find(step.file + ": " + notice + "\n"), std::string::npos)
        << console.text();
  }
}

// What a load did beyond reading goes to the status line and the console;
// a file scaled in part is read raw only on a yes; a TPS-style file that
// cannot be opened says "Error on file open", then the error on its own line.
TEST_F(Stand3swTest, LoadDataSaysWhatTheReaderDidAndAsksAboutPartScales) {
  std::vector<std::string> said;
  graphics_.subscribe([&said](const GraphicsChange& c) {
    if (c.kind == GraphicsChange::Kind::status) said.push_back(c.detail);
  });
  TempDir dir;
  std::filesystem::create_directory(dir.file("scans"));
  const std::string version = "# Markups fiducial file version = 4.11\n";
  writeText(dir.file("scans/a.fcsv"),
            version + "# CoordinateSystem = RAS\n0,1,2,3\n1,4,5,6\n2,0,0,1\n");
  writeText(dir.file("scans/b.fcsv"),
            version + "# CoordinateSystem = LPS\n0,-1,-2,3\n1,-4,-5,7\n2,0,0,1\n");
  writeText(dir.file("mixed.tps"),
            "LM3=3\n0 0 0\n3 4 0\n0 4 1\nID=a\nSCALE=0.1\nLM3=3\n0 0 0\n3 4 1\n0 5 0\nID=b\n");
  const std::string converted =
      dir.file("scans") + ": converted 1 RAS file to LPS (x and y negated)";
  const std::string raw =
      dir.file("mixed.tps") + ": SCALE= not applied: sizes are in the raw units of every record";
  const struct {
    double tps;
    std::string file;
    std::optional<bool> answer;
    std::string status;   // the last status text, "" when the load was refused
    std::string console;  // in the console
  } cases[] = {
      {0, "scans/a.fcsv", std::nullopt,
       "Loaded 2 specimens with 3 landmarks from scans/; " + converted, converted + "\n"},
      {0, "mixed.tps", true, "Loaded 2 specimens with 3 landmarks from mixed.tps; " + raw, raw},
      {0, "mixed.tps", false, "", "Error in LoadData: " + dir.file("mixed.tps") + ": record 2"},
      {1, "mixed.tps", true, "Loaded 2 specimens with 3 landmarks from mixed.tps; " + raw, raw},
      {1, "missing.tps", std::nullopt, "",
       "Error on file open\nError in LoadData: " + dir.file("missing.tps") + ": cannot be opened"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    click("ZORButton", c.tps);
    said.clear();
    if (c.answer) dialogs_.answer(*c.answer);
    ConsoleCapture console;
    run("LoadData", dir.file(c.file));
    EXPECT_EQ(graphics_.lastError().empty(), !c.status.empty()) << graphics_.lastError();
    if (!c.status.empty()) {
      ASSERT_FALSE(said.empty());
      EXPECT_EQ(said.back(), c.status);
    }
    EXPECT_NE(console.text().find(c.console), std::string::npos) << console.text();
  }
}

// A standard value outside the range of x is used, and the status line warns.
TEST_F(Stand3swTest, AStandardValueOutsideXIsUsedAndTheStatusLineWarns) {
  std::vector<std::string> said;
  graphics_.subscribe([&said](const GraphicsChange& c) {
    if (c.kind == GraphicsChange::Kind::status) said.push_back(c.detail);
  });
  run("LoadData", kZor);
  for (const char* action : {"UseCS", "UseLn", "Acceptx"}) run(action, std::nullopt);
  graphics_.set(tag("StandardBox"), "String", std::string("5"));
  run("Regress", std::nullopt);
  EXPECT_EQ(graphics_.lastError(), "");
  ASSERT_FALSE(said.empty());
  EXPECT_EQ(said.back(),
            "Standardized 40 specimens to ln x = 5; the standard value 5 lies outside ln x, 3.0030 "
            "to 4.0965: the result is an extrapolation");
  graphics_.set(tag("StandardBox"), "String", std::string("4.0965"));
  run("Regress", std::nullopt);
  EXPECT_EQ(said.back(), "Standardized 40 specimens to ln x = 4.0965");
}

TEST_F(Stand3swTest, TpsFileGivesTheSameConfigurations) {
  run("LoadData", kZor);
  const Eigen::MatrixXd fromZor = sw_.DATA();
  click("ZORButton", 1);
  ConsoleCapture console;
  run("LoadData", kTps);
  EXPECT_EQ(console.text(), "");
  EXPECT_EQ(dialogs_.requests().back().title, "Specify 3D input file to load");
  EXPECT_EQ(text("FileBox"), "skulls_tps.txt \nhas 40 specimens \nwith 14 landmarks");
  EXPECT_EQ(sw_.DATA().leftCols(42), fromZor.leftCols(42));
  EXPECT_TRUE(testing::assert_near(sw_.DATA().col(42), fromZor.col(42), 1e-3));
}

TEST_F(Stand3swTest, OtherFormatsAreReadByContentAndRefusedWithTheReason) {
  run("LoadData", kZor);
  const Eigen::MatrixXd fromZor = sw_.DATA();
  for (const char* name :
       {"skulls.csv", "skulls.nts", "skulls_morphologika.txt", "skulls_slicer/skull_07.mrk.json"}) {
    run("LoadData", examplePath(name));
    EXPECT_EQ(graphics_.lastError(), "") << name;
    EXPECT_EQ(sw_.DATA().leftCols(42), fromZor.leftCols(42)) << name;
    EXPECT_NE(text("FileBox").find("has 40 specimens"), std::string::npos) << name;
  }
  // One markup file chosen reads its folder, and the summary says so.
  EXPECT_EQ(text("FileBox").rfind("skulls_slicer/ \nhas 40 specimens", 0), 0u) << text("FileBox");

  const struct {
    const char* file;
    const char* fragment;
  } refused[] = {
      {"skulls_missing.csv", "2 specimens have missing landmarks"},
      {"skulls_missing.csv", "skull_17"},
      {"skulls2d.tps", "holds 2D landmarks; load it in the 2D window"},
  };
  for (const auto& c : refused) {
    ConsoleCapture console;
    run("LoadData", examplePath(c.file));
    EXPECT_NE(graphics_.lastError().find(c.fragment), std::string::npos) << graphics_.lastError();
    EXPECT_NE(console.text().find(c.fragment), std::string::npos) << console.text();
    EXPECT_EQ(sw_.DATA().leftCols(42), fromZor.leftCols(42)) << "the data set is kept";
  }
}

TEST_F(Stand3swTest, WireframeIsDrawnOnTheConsensusFromTheNextPlotOn) {
  run("LoadWire", kWire);
  EXPECT_EQ(sw_.state().wireactive, 1.0);
  EXPECT_FALSE(sw_.state().fighand1);
  EXPECT_EQ(dialogs_.requests().back().filter, "*.txt");

  ConsoleCapture console;
  run("LoadData", kZor);
  EXPECT_EQ(plotStyles(), joined({{"b*"}, repeated("bo", 40), repeated("g", 19)}));
  EXPECT_NE(console.text().find("m = 14\nn = 3\n"), std::string::npos) << console.text();

  // The first wire joins landmarks 1 and 2 of the consensus.
  const Handle firstWire =
      graphics_.descendants(sw_.state().fighand1->handle, ObjectType::line)[41];
  const Eigen::MatrixXd& mean = sw_.mean1();
  EXPECT_EQ(graphics_.object(firstWire).xdata.map(), Eigen::RowVector2d(mean(0, 0), mean(1, 0)));
}

TEST_F(Stand3swTest, StatisticsBoxesAndTransformButtons) {
  TempDir dir;
  writeText(dir.file("three.txt"),
            "0 0 0 1 0 0 0 1 0 0 0 1 1\n0 0 0 2 0 0 0 1 0 0 0 1 2\n0 0 0 1 0 0 0 3 0 0 0 1 3\n");
  writeText(dir.file("list.txt"), "1\n10\n100\n");
  run("LoadData", dir.file("three.txt"));
  run("LoadxList", dir.file("list.txt"));
  EXPECT_EQ(text("XVarBox"), "File list.txt \n    3 listed x values");
  EXPECT_TRUE(recorded_.messages().empty());

  ConsoleCapture console;
  run("UseLog");
  EXPECT_EQ(text("MinBox"), "0.0000");
  EXPECT_EQ(text("MaxBox"), "2.0000");
  EXPECT_EQ(text("MeanBox"), "1.0000");
  EXPECT_EQ(text("MedianBox"), "1.0000");
  EXPECT_EQ(text("StandardBox"), "0.0000");
  EXPECT_EQ(value("LogButton"), 1);
  EXPECT_EQ(value("XButton") + value("LnButton"), 0);
  EXPECT_EQ(sw_.LCODE(), Transform::log10);
  std::string echoes;
  for (const char* box : {"MinBox", "MaxBox", "MeanBox", "MedianBox"}) {
    echoes += sprintf("h = %.10g\n", tag(box).value());
  }
  EXPECT_EQ(console.text(), echoes);

  run("UseX");
  EXPECT_EQ(text("MinBox") + text("MaxBox") + text("MeanBox") + text("MedianBox"),
            "1.0000100.000037.000010.0000");
  EXPECT_EQ(text("StandardBox"), "1.0000");
  EXPECT_EQ(value("XButton"), 1);

  // A new source puts the transform out of force until one is chosen again:
  // regressing on the logarithms of the list while the window names
  // centroid size would be wrong without a word.
  run("UseLn");
  EXPECT_TRUE(enabled("GoRegress"));
  run("UseCS");
  EXPECT_EQ(sw_.XLIST(), Eigen::Vector3d(1, 2, 3));
  EXPECT_EQ(sw_.FXLIST().size(), 0);
  EXPECT_EQ(value("XButton") + value("LnButton") + value("LogButton"), 0);
  EXPECT_EQ(text("MinBox") + text("StandardBox"), "0.00000.0000");
  EXPECT_EQ(text("XVarBox"), "");
  EXPECT_FALSE(enabled("GoRegress"));
  run("Regress");
  EXPECT_NE(graphics_.lastError().find("no x-variable has been chosen"), std::string::npos);
}

TEST_F(Stand3swTest, XListOfTheWrongLengthIsKeptWithAMessage) {
  TempDir dir;
  std::string nineteen;
  for (int i = 1; i <= 19; ++i) nineteen += std::to_string(i) + "\n";
  writeText(dir.file("short.txt"), nineteen);
  run("LoadData", kZor);
  run("LoadxList", dir.file("short.txt"));
  EXPECT_EQ(text("XVarBox"), "File short.txt \n   19 listed x values");
  EXPECT_EQ(recorded_.messages(),
            std::vector<std::string>{
                "The number of values in the x-list does not match the data set, please reload"});
  EXPECT_EQ(sw_.XLIST().rows(), 19);
}

TEST_F(Stand3swTest, RegressStandardizesPlotsAndEnablesSaving) {
  run("LoadWire", kWire);
  run("Acceptx");
  EXPECT_TRUE(enabled("AcceptStandard"));
  loadAndStandardize("UseLn");
  ASSERT_EQ(sw_.SDATA().rows(), 40);
  EXPECT_EQ(sw_.SDATA().col(42), sw_.DATA().col(42));
  EXPECT_EQ(sw_.SDATAV().specimens(), 40);
  EXPECT_EQ(sw_.smean().rows(), 14);
  EXPECT_EQ(plotStyles(),
            joined({{"r*"}, repeated("ro", 40), repeated("bo", 40), repeated("k:", 19)}));
  EXPECT_TRUE(enabled("SaveStandard"));
  EXPECT_TRUE(enabled("ShowStandard"));

  // The same inputs give the same state.
  const Eigen::MatrixXd first = sw_.SDATA();
  run("Regress");
  EXPECT_EQ(sw_.SDATA(), first);
}

TEST_F(Stand3swTest, SavedFileEqualsTheCommandLinesOutput) {
  TempDir dir;
  loadAndStandardize("UseLn");
  run("SaveFile", dir.file("ln.txt"));
  EXPECT_EQ(readText(dir.file("ln.txt")), cliStandardize({"--transform", "ln"}));
  EXPECT_EQ(dialogs_.requests().back().title, "File Name for Standardized Data");
  EXPECT_TRUE(dialogs_.requests().back().save);

  click("CSBox", 1);
  run("SaveFile", dir.file("kept.txt"));
  EXPECT_EQ(readText(dir.file("kept.txt")), cliStandardize({"--transform", "ln", "--keep-size"}));

  click("CSBox", 0);
  run("UseLog");
  type("StandardBox", "1.5");
  run("Regress");
  run("SaveFile", dir.file("log.txt"));
  EXPECT_EQ(readText(dir.file("log.txt")),
            cliStandardize({"--transform", "log10", "--standard", "1.5"}));

  run("UseX");
  type("StandardBox", "40");
  run("Regress");
  run("SaveFile", dir.file("raw.txt"));
  EXPECT_EQ(readText(dir.file("raw.txt")), cliStandardize({"--standard", "40"}));
  EXPECT_NE(readText(dir.file("raw.txt")).find(" 40  \n"), std::string::npos);

  run("LoadxList", kMass);
  run("UseLog");
  run("Regress");
  run("SaveFile", dir.file("mass.txt"));
  EXPECT_EQ(readText(dir.file("mass.txt")), cliStandardize({"--x", kMass, "--transform", "log10"}));
}

TEST_F(Stand3swTest, ClearResetsDataBoxesAndButtonsAndKeepsTheRest) {
  run("LoadWire", kWire);
  loadAndStandardize("UseLn");
  click("CSBox", 1);
  run("LoadxList", kMass);
  run("UseLn");
  run("Acceptx");
  run("Regress");
  ASSERT_EQ(text("XVarBox").rfind("File skulls_mass.txt", 0), 0u);
  ConsoleCapture console;
  run("Clear");
  const std::string xvar = text("XVarBox");
  const Stand3sw::State& s = sw_.state();
  EXPECT_EQ(sw_.DATA().size() + sw_.XLIST().size() + sw_.SDATA().size() + sw_.FXLIST().size(), 0);
  EXPECT_EQ(sw_.DATAV().specimens(), 40);
  EXPECT_EQ(sw_.SDATAV().specimens(), 40);
  EXPECT_EQ(sw_.mean1().rows(), 14);
  EXPECT_EQ(sw_.smean().rows(), 14);
  EXPECT_EQ(sw_.LCODE(), Transform::ln);
  EXPECT_EQ(s.wireactive, 1.0);

  EXPECT_EQ(text("FileBox"), "No Data Loaded");
  for (const char* box : {"MinBox", "MaxBox", "MeanBox", "MedianBox", "StandardBox"}) {
    EXPECT_EQ(text(box), "0.0000") << box;
  }
  EXPECT_EQ(value("XButton") + value("LnButton") + value("LogButton"), 0);
  for (const char* button : {"AcceptStandard", "SaveStandard", "ShowStandard", "GoRegress",
                             "UseCSButton", "LoadXButton", "LoadGroupsButton"}) {
    EXPECT_FALSE(enabled(button)) << button;
  }
  EXPECT_EQ(xvar, "");
  EXPECT_EQ(value("CSBox"), 1);
  EXPECT_TRUE(plotStyles().empty());
  // Nothing names the cleared data set.
  const Handle plot = sw_.state().fighand1->handle;
  EXPECT_EQ(graphics_.getString(graphics_.object(plot).children.front(), "Title"), "");
  EXPECT_EQ(graphics_.getString(plot, "Name"), "Tarvolin 3D plot");
  EXPECT_EQ(std::count(console.text().begin(), console.text().end(), '\n'), 4);

  // What Clear keeps still draws: the data set and its wireframe.
  run("ShowData");
  EXPECT_EQ(plotStyles(), joined({{"b*"}, repeated("bo", 40), repeated("g", 19)}));
}

TEST_F(Stand3swTest, FigureCommandsActOnThePlotWindowAndComeBack) {
  loadAndStandardize("UseX");
  graphics_.figure(main_);
  run("CopyImage");
  ASSERT_EQ(recorded_.pictures().size(), 1u);
  ASSERT_TRUE(graphics_.clipboard().has_value());
  EXPECT_EQ(graphics_.clipboard()->figure, sw_.state().fighand1->handle);
  EXPECT_EQ(graphics_.clipboard()->lines.size(), 81u);
  EXPECT_EQ(graphics_.currentFigure(), main_);

  run("ClearFigure");
  EXPECT_TRUE(graphics_.object(sw_.state().fighand1->handle).children.empty());
  EXPECT_EQ(graphics_.currentFigure(), main_);

  // ShowRegress draws into the plot window, also when the main window is current.
  graphics_.figure(main_);
  run("ShowRegress");
  EXPECT_TRUE(graphics_.object(main_).details().currentAxes == std::nullopt);
  EXPECT_EQ(plotStyles(), joined({repeated("rs", 40), {"ks"}}));
  EXPECT_EQ(graphics_.getString(graphics_.gca(), "Hold"), "on");
}

TEST_F(Stand3swTest, PlotWindowClosedByTheUser) {
  run("LoadData", kZor);
  const Handle first = sw_.state().fighand1->handle;
  graphics_.close(first);
  graphics_.figure(main_);

  run("ClearFigure");
  EXPECT_NE(graphics_.lastError().find("plot window is closed"), std::string::npos);
  run("CopyImage");
  EXPECT_TRUE(recorded_.pictures().empty());

  type("MinBox", "9");
  run("Clear");
  EXPECT_EQ(graphics_.lastError(), "");
  EXPECT_EQ(text("MinBox"), "0.0000");

  run("ShowData");
  ASSERT_TRUE(graphics_.exists(*sw_.state().fighand1));
  EXPECT_EQ(plotStyles().size(), 41u);
}

// A button is enabled when its step can be taken: Accept x once x, ln x or
// log10 x is chosen, Show data once data are loaded, Clear plot and Copy
// plot while the plot window shows something.
TEST_F(Stand3swTest, EnablesFollowTheWorkflow) {
  const char* const buttons[] = {"UseCSButton",    "LoadXButton",     "AcceptStandard",
                                 "SaveStandard",   "ShowStandard",    "GoRegress",
                                 "ShowDataButton", "ClearPlotButton", "CopyPlotButton"};
  auto enables = [&] {
    std::string state;
    for (const char* b : buttons) state += enabled(b) ? '1' : '0';
    return state;
  };
  TempDir dir;
  EXPECT_EQ(enables(), "000001000");  // Accept x as the test window has it
  const struct {
    const char* action;
    std::string file;  // the dialog's answer; "" for none
    const char* expected;
  } steps[] = {
      {"LoadData", kZor, "110000111"},
      {"UseCS", "", "110000111"},
      {"UseX", "", "110001111"},
      {"LoadxList", kMass, "110000111"},  // a new x-variable: its transform is to choose
      {"UseLog", "", "110001111"},
      {"LoadWire", kWire, "110001111"},
      {"Acceptx", "", "111001111"},
      {"Regress", "", "111111111"},
      {"SaveFile", dir.file("out.txt"), "111111111"},
      {"ClearFigure", "", "111111100"},  // nothing left to clear or copy
      {"ShowRegress", "", "111111111"},
      {"CopyImage", "", "111111111"},
      {"Nothing", "", "111111111"},
      {"close the plot window", "", "111111100"},
      {"ShowData", "", "111111111"},
      {"UseCS", "", "110000111"},
      {"Clear", "", "000000100"},  // the data set loaded last can still be shown
      {"LoadData", kZor, "110000111"},
  };
  for (const auto& step : steps) {
    if (std::string(step.action) == "close the plot window") {
      graphics_.close(sw_.state().fighand1->handle);
    } else {
      run(step.action, step.file.empty() ? std::nullopt : std::optional<std::string>(step.file));
    }
    EXPECT_EQ(enables(), step.expected) << step.action;
  }
}

// A new data set shows nothing of the earlier one: its standardized
// specimens, its means (whose landmarks would be numbered on from k), its x
// list and what the plot window's status line said of it.
TEST_F(Stand3swTest, ANewDataSetShowsNothingOfTheEarlier) {
  std::vector<std::pair<Handle, std::string>> statuses;
  graphics_.subscribe([&](const GraphicsChange& change) {
    if (change.kind == GraphicsChange::Kind::status)
      statuses.emplace_back(change.handle, change.detail);
  });
  run("LoadWire", kWire);
  run("LoadData", kZor);
  run("LoadxList", kMass);
  run("UseLn");
  run("Acceptx");
  run("Regress");
  run("ShowRegress");
  const Handle plot = sw_.state().fighand1->handle;
  ASSERT_GT(plotStyles().size(), 82u);

  run("LoadData", kTps);
  EXPECT_EQ(plotStyles(), joined({{"b*"}, repeated("bo", 40), repeated("g", 19)}));
  EXPECT_EQ(text("XVarBox"), "");
  EXPECT_EQ(graphics_.getString(plot, "Name"), "Tarvolin 3D plot: skulls_tps.txt");
  EXPECT_EQ(graphics_.getString(graphics_.object(plot).children.front(), "Title"),
            "skulls_tps.txt: 40 specimens, superimposed");
  const auto cleared =
      std::find(statuses.begin(), statuses.end(), std::make_pair(plot, std::string()));
  EXPECT_NE(cleared, statuses.end()) << "the plot window's status line is cleared";

  // Shown again and again, the mean is drawn once: numbered 1 to 14.
  run("ShowData");
  run("ShowData");
  size_t means = 0;
  for (Handle h : graphics_.descendants(plot, ObjectType::line)) {
    if (graphics_.object(h).displayName == kMeanShape) {
      ++means;
      EXPECT_EQ(graphics_.object(h).xdata.size(), 14);
    }
  }
  EXPECT_EQ(means, 1u);
}

// Missing landmarks: the window offers the command line's choices; without
// an answer the file is refused with the list of what is missing.
TEST_F(Stand3swTest, MissingLandmarksAreDroppedOrEstimatedAsTheUserChooses) {
  const std::string file = examplePath("skulls_missing.csv");
  const struct {
    std::optional<std::string> answer;
    Eigen::Index specimens, landmarks;  // 0 specimens: refused
    std::string said;                   // in the status line, or the error
    double wireactive;                  // the wireframe loaded first, once landmarks are left out
  } cases[] = {
      {std::nullopt, 0, 0,
       "Error in LoadData: " + file +
           ": 2 specimens have missing landmarks:\nspecimen \"skull_03\": landmark 5\n"
           "specimen \"skull_17\": landmarks 2, 11",
       1},
      {"drop-specimens", 38, 14, "left out 2 specimens with missing landmarks (38 remain)", 1},
      // The wireframe's numbers name landmarks that were renumbered: switched off.
      {"drop-landmarks", 40, 11, "left out 3 landmarks missing in some specimen (11 remain)", 0},
      {"estimate", 40, 14, "estimated", 0},
      {"guess", 0, 0,
       "Error in LoadData: the answer guess is not one of the choices: drop-specimens, "
       "drop-landmarks, estimate",
       0},
  };
  run("LoadWire", kWire);
  std::string status;
  graphics_.subscribe([&](const GraphicsChange& change) {
    if (change.kind == GraphicsChange::Kind::status) status = change.detail;
  });
  for (const auto& c : cases) {
    run("Clear");
    if (c.answer) dialogs_.answerChoice(*c.answer);
    const size_t asked = dialogs_.questions().size();
    run("LoadData", file);
    EXPECT_EQ(dialogs_.questions().size(), asked + 1);
    EXPECT_EQ(dialogs_.questions().back(), "Missing landmarks");
    const Stand3sw::State& s = sw_.state();
    if (c.specimens == 0) {
      EXPECT_EQ(graphics_.lastError(), c.said) << c.answer.value_or("cancel");
      EXPECT_EQ(sw_.DATA().size(), 0);
      EXPECT_EQ(s.wireactive, c.wireactive);
      continue;
    }
    EXPECT_EQ(graphics_.lastError(), "") << *c.answer;
    EXPECT_EQ(sw_.DATA().rows(), c.specimens) << *c.answer;
    EXPECT_EQ(sw_.mean1().rows(), c.landmarks) << *c.answer;
    EXPECT_TRUE(sw_.DATA().allFinite()) << *c.answer;
    EXPECT_EQ(status.rfind("Loaded " + std::to_string(c.specimens), 0), 0u) << status;
    EXPECT_NE(status.find(c.said), std::string::npos) << status;
    EXPECT_EQ(s.wireactive, c.wireactive) << *c.answer;
  }
}

TEST_F(Stand3swTest, OnlyExactActionStringsMatch) {
  for (const char* action : {"loaddata", "LOADDATA", "", "LoadData ", "clear", "Regress2"}) {
    run(action);
  }
  EXPECT_EQ(recorded_.messages(), std::vector<std::string>(6, "Fell Through case in switchyard"));
  EXPECT_TRUE(dialogs_.requests().empty());
  EXPECT_EQ(text("FileBox"), "No Data Loaded");
}

TEST_F(Stand3swTest, CancelledDialogsChangeNothing) {
  run("LoadData", kZor);
  run("LoadWire", kWire);
  const std::string summary = text("FileBox");
  const size_t drawn = plotStyles().size();
  ConsoleCapture console;
  run("LoadData", "");
  run("LoadWire", "");
  run("LoadxList", "");
  EXPECT_EQ(console.text(), "stemp = using ZOR format\n");
  EXPECT_EQ(graphics_.lastError(), "");
  EXPECT_EQ(text("FileBox"), summary);
  EXPECT_EQ(plotStyles().size(), drawn);
  EXPECT_EQ(sw_.state().wirelist.rows(), 19);
  EXPECT_EQ(sw_.XLIST().size(), 0);
  EXPECT_EQ(dialogs_.pendingAnswers(), 0u);
}

TEST_F(Stand3swTest, RefusedFilesAreReportedOnOneLineAndChangeNothing) {
  TempDir dir;
  writeText(dir.file("bad.txt"), "1 2 3 4\n1 2 x 4\n");
  writeText(dir.file("wires2.txt"), "1 2\n");
  run("LoadData", kZor);
  const Eigen::MatrixXd data = sw_.DATA();
  const size_t drawn = plotStyles().size();

  const struct {
    const char* action;
    std::string file;
    std::string expected;
  } cases[] = {
      {"LoadData", dir.file("bad.txt"),
       "Error in LoadData: " + dir.file("bad.txt") + ":2: \"x\" is not a number\n"},
      {"LoadData", dir.file("missing.txt"),
       "Error in LoadData: " + dir.file("missing.txt") +
           ": cannot be opened: No such file or directory\n"},
      {"LoadWire", dir.file("wires2.txt"),
       "Error in LoadWire: " + dir.file("wires2.txt") +
           ":1: has 2 numbers on a line; a wire is its number and the two landmarks it joins\n"},
      {"LoadxList", kWire,
       "Error in LoadxList: " + kWire +
           ":1: has 3 numbers on a line; an x list holds one value per line\n"},
  };
  for (const auto& c : cases) {
    ConsoleCapture console;
    run(c.action, c.file);
    const std::string& printed = console.text();
    EXPECT_EQ(printed.substr(printed.rfind('\n', printed.size() - 2) + 1), c.expected);
    // One line of error; LoadData echoes which reader it uses first.
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'),
              std::string_view(c.action) == "LoadData" ? 2 : 1)
        << printed;
    EXPECT_EQ(graphics_.lastError() + "\n", c.expected);
  }
  EXPECT_EQ(text("FileBox"), "skulls_zor.txt \nhas 40 specimens \nwith 14 landmarks");
  EXPECT_EQ(sw_.DATA(), data);
  EXPECT_EQ(plotStyles().size(), drawn);
  EXPECT_FALSE(sw_.state().wireactive.value_or(0) != 0);
}

TEST_F(Stand3swTest, MissingValuesAreReported) {
  const struct {
    const char* action;
    const char* expected;
  } cases[] = {
      {"ShowData", "Error in ShowData: no data set has been loaded yet\n"},
      {"UseCS", "Error in UseCS: no data set is loaded; load one first\n"},
      {"UseLn",
       "Error in UseLn: no x-variable has been chosen; use centroid size or load an x list "
       "first\n"},
      {"Regress", "Error in Regress: no data set is loaded; load one first\n"},
      {"SaveFile",
       "newcs = 0\nError in SaveFile: there is no standardized data to save; standardize first\n"},
  };
  for (const auto& c : cases) {
    ConsoleCapture console;
    run(c.action);
    EXPECT_EQ(console.text(), c.expected);
  }
  EXPECT_TRUE(dialogs_.requests().empty());

  run("LoadData", kZor);
  run("Clear");
  ConsoleCapture console;
  run("Regress");
  EXPECT_EQ(console.text(), "Error in Regress: no data set is loaded; load one first\n");
  EXPECT_EQ(sw_.SDATA().size(), 0);
}

TEST_F(Stand3swTest, LogarithmOfNonPositiveValuesChangesNothing) {
  TempDir dir;
  std::string list;
  for (int i = 1; i <= 40; ++i) list += (i == 5 ? "0" : std::to_string(i)) + "\n";
  writeText(dir.file("zero.txt"), list);
  run("LoadData", kZor);
  run("LoadxList", dir.file("zero.txt"));
  run("UseX");
  const Eigen::VectorXd fx = sw_.FXLIST();
  const std::string minimum = text("MinBox");
  // A click switches its button on before the action runs; a refused
  // transform leaves the buttons showing the one in force.
  const struct {
    const char* button;
    const char* action;
  } clicks[] = {{"LnButton", "UseLn"}, {"LogButton", "UseLog"}};
  for (const auto& c : clicks) {
    click(c.button, 1);
    run(c.action);
    EXPECT_NE(graphics_.lastError().find("specimen 5 has the x value 0"), std::string::npos)
        << graphics_.lastError();
    EXPECT_EQ(sw_.FXLIST(), fx);
    EXPECT_EQ(sw_.LCODE(), Transform::none);
    EXPECT_EQ(text("MinBox"), minimum);
    EXPECT_EQ(value("XButton"), 1);
    EXPECT_EQ(value("LnButton") + value("LogButton"), 0);
  }
  // With no x-variable chosen for a new data set, none is in force.
  run("LoadData", kZor);
  click("LnButton", 1);
  run("UseLn");
  EXPECT_EQ(value("XButton") + value("LnButton") + value("LogButton"), 0);
}

TEST_F(Stand3swTest, StandardValueThatIsNotANumber) {
  TempDir dir;
  loadAndStandardize("UseLn");
  const Eigen::MatrixXd sdata = sw_.SDATA();
  ConsoleCapture console;
  for (const char* typed : {"1e400 ", "abc"}) {
    type("StandardBox", typed);
    run("Regress");
    EXPECT_EQ(sw_.SDATA(), sdata);
  }
  EXPECT_EQ(console.text(),
            "Error in Regress: the standard value \"1e400\" is too large for a number\n"
            "Error in Regress: the standard value \"abc\" is not a number\n");

  // Whether or not the file keeps the sizes, a box that no longer shows the
  // value the coordinates were standardized to stops the save before its dialog.
  const size_t asked = dialogs_.requests().size();
  for (double keep : {0.0, 1.0}) {
    click("CSBox", keep);
    run("SaveFile");
    EXPECT_EQ(graphics_.lastError(),
              "Error in SaveFile: the standard value was changed to abc after Standardize used "
              "3.0030; click Standardize again");
  }
  EXPECT_EQ(dialogs_.requests().size(), asked);
}

TEST_F(Stand3swTest, SaveFailureLeavesTheExistingFileAlone) {
  TempDir dir;
  loadAndStandardize("UseX");
  writeText(dir.file("out.txt"), "kept\n");
  run("SaveFile", dir.file("no/such/folder/out.txt"));
  EXPECT_NE(graphics_.lastError().find("cannot write"), std::string::npos);
  run("SaveFile", "");
  EXPECT_EQ(readText(dir.file("out.txt")), "kept\n");
}

// A wireframe naming landmark 99 of 14: refused while data are loaded, and
// switched off (once, with a word) when data are loaded after it. Neither
// case may lock the workflow.
TEST_F(Stand3swTest, AWireframeThatDoesNotFitNeverLocksTheWorkflow) {
  TempDir dir;
  writeText(dir.file("wires99.txt"), "1 1 2\n2 2 99\n3 3 4\n");
  const std::string switchedOff =
      "The wireframe wires99.txt joins landmark 99, but skulls_zor.txt has 14 landmarks; the "
      "wireframe is switched off until one that fits is loaded";
  const struct {
    bool dataFirst;
    std::string error;
    std::vector<std::string> messages;
    size_t wires;  // the rows of the wireframe in force afterwards
    double wireactive;
  } cases[] = {
      {false, "", {switchedOff}, 3, 0},
      {true,
       "Error in LoadWire: " + dir.file("wires99.txt") +
           ":2: wire 2 joins landmark 99, but the data set has landmarks 1 to 14; the wireframe "
           "was not loaded",
       {},
       19,
       1},
  };
  for (const auto& c : cases) {
    Graphics graphics;
    testing::GraphicsRecorder recorded(graphics);
    testing::testWindow(graphics, true);
    Stand3sw sw(graphics, dialogs_);
    auto act = [&](const char* action, const std::string& file) {
      dialogs_.choose(file);
      sw(action);
    };
    if (c.dataFirst) {
      act("LoadWire", kWire);
      act("LoadData", kZor);
      act("LoadWire", dir.file("wires99.txt"));
    } else {
      act("LoadWire", dir.file("wires99.txt"));
      act("LoadData", kZor);
    }
    EXPECT_EQ(graphics.lastError(), c.error);
    EXPECT_EQ(recorded.messages(), c.messages);
    EXPECT_EQ(static_cast<size_t>(sw.state().wirelist.rows()), c.wires);
    EXPECT_EQ(sw.state().wireactive, c.wireactive);
    EXPECT_EQ(graphics.getString(graphics.findobj("UseCSButton").front(), "Enable"), "on");
    // Later plots draw what is in force and say nothing more.
    sw("ShowData");
    const std::vector<Handle> lines =
        graphics.descendants(sw.state().fighand1->handle, ObjectType::line);
    const auto wires = std::count_if(lines.begin(), lines.end(),
                                     [&](Handle h) { return graphics.object(h).lineStyle == "g"; });
    // Show data draws the data set afresh: one wireframe, not a second one.
    EXPECT_EQ(wires, c.wireactive != 0 ? 19 : 0);
    EXPECT_EQ(recorded.messages().size(), c.messages.size());
    EXPECT_EQ(graphics.lastError(), "");
  }
}

// A wireframe belongs to the landmarks of the data set it met first: on one
// of another number of landmarks it is dropped with a word, even when each
// of its numbers exists there (the skull's 14 among the shells' 82).
TEST_F(Stand3swTest, AWireframeOfAnotherDataSetIsDroppedNotDrawnAcrossIt) {
  const std::string shells = examplePath("shells.csv");
  const std::string dropped = "; the wireframe skulls_wire.txt, made for 14 landmarks, was dropped";
  const struct {
    std::vector<std::pair<std::string, std::string>> steps;  // action, file
    bool drawn;                                              // on the last data set
    std::string note;                                        // ends the status line
  } cases[] = {
      {{{"LoadData", kZor}, {"LoadWire", kWire}, {"LoadData", shells}}, false, dropped},
      {{{"LoadData", kZor}, {"LoadWire", kWire}, {"Clear", ""}, {"LoadData", shells}},
       false,
       dropped},
      {{{"LoadWire", kWire}, {"LoadData", kZor}, {"LoadData", shells}}, false, dropped},
      {{{"LoadData", kZor}, {"LoadWire", kWire}, {"LoadData", kTps}},
       true,
       " landmarks from skulls_tps.txt"},
      {{{"LoadData", shells}, {"LoadWire", kWire}, {"Clear", ""}, {"LoadData", kZor}},
       false,
       "; the wireframe skulls_wire.txt, made for 82 landmarks, was dropped"},
  };
  for (const auto& c : cases) {
    Graphics graphics;
    testing::GraphicsRecorder recorded(graphics);
    testing::testWindow(graphics, true);
    Stand3sw sw(graphics, dialogs_);
    std::string status;
    graphics.subscribe([&](const GraphicsChange& change) {
      if (change.kind == GraphicsChange::Kind::status) status = change.detail;
    });
    std::string steps;
    for (const auto& [action, file] : c.steps) {
      if (!file.empty()) dialogs_.choose(file);
      if (action == "LoadData" && file == kTps) {
        graphics.set(graphics.findobj("ZORButton").front(), "Value", 1.0);
      }
      sw(action);
      steps += action + " ";
    }
    EXPECT_EQ(graphics.lastError(), "") << steps;
    EXPECT_TRUE(status.ends_with(c.note)) << steps << status;
    sw("ShowData");
    const std::vector<Handle> lines =
        graphics.descendants(sw.state().fighand1->handle, ObjectType::line);
    const auto wires = std::count_if(lines.begin(), lines.end(),
                                     [&](Handle h) { return graphics.object(h).lineStyle == "g"; });
    EXPECT_EQ(wires, c.drawn ? 19 : 0) << steps;
    EXPECT_TRUE(recorded.messages().empty()) << steps;
  }
}

}  // namespace
}  // namespace tarvolin
