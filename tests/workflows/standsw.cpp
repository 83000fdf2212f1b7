#include "workflows/standsw.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/console.h"
#include "core/sprintf.h"
#include "formats/dload.h"
#include "formats/standardizedtext.h"
#include "numerics/standardsize.h"
#include "numerics/transformx.h"
#include "tests/document/graphicsrecorder.h"
#include "tests/testing.h"
#include "workflows/stand3sw.h"
#include "workflowtesting.h"

namespace tarvolin {
namespace {

using testing::examplePath;
using testing::readText;
using testing::TempDir;
using testing::testWindow;
using testing::writeText;

const std::string k2D = examplePath("skulls2d.txt");
// The same side views superimposed, as the 2D window standardizes them.
const std::string k2DSuperimposed = examplePath("skulls2d_superimposed.txt");
const std::string kMass = examplePath("skulls_mass.txt");
const char* const kButtons[] = {"UseCSButton",  "LoadXButton",  "AcceptStandard",
                                "SaveStandard", "ShowStandard", "GoRegress"};

class StandswTest : public ::testing::Test {
 protected:
  Handle tag(const char* t) const { return graphics_.findobj(t, window_).front(); }
  std::string text(const char* t) const { return graphics_.getString(tag(t), "String"); }
  double value(const char* t) const { return graphics_.getNumber(tag(t), "Value"); }
  bool enabled(const char* t) const { return graphics_.getString(tag(t), "Enable") == "on"; }
  void type(const char* t, std::string s) { graphics_.set(tag(t), "String", std::move(s)); }
  void click(const char* t, double v) { graphics_.set(tag(t), "Value", v); }
  std::string enables() const {
    std::string state;
    for (const char* b : kButtons) state += enabled(b) ? '1' : '0';
    return state;
  }
  std::string radios() const {
    std::string state;
    for (const char* b : {"XButton", "LnButton", "LogButton"}) state += value(b) ? '1' : '0';
    return state;
  }

  // Runs the action with the next file dialog answered by `path` ("" cancels).
  void run(std::string_view action, std::optional<std::string> path = std::nullopt) {
    if (path) path->empty() ? dialogs_.cancel() : dialogs_.choose(*path);
    sw_(action);
  }

  // The point sets drawn in `window`, in drawing order.
  std::vector<GraphicsObject> points(Handle window) const {
    std::vector<GraphicsObject> drawn;
    for (Handle h : graphics_.descendants(window, ObjectType::line)) {
      drawn.push_back(graphics_.object(h));
    }
    return drawn;
  }
  size_t drawn() const { return points(window_).size(); }

  testing::CwdGuard cwd_;
  Graphics graphics_;
  testing::GraphicsRecorder recorded_{graphics_};
  Handle window_ = testWindow(graphics_, false);
  ScriptedFileDialogs dialogs_;
  Standsw sw_{graphics_, dialogs_};
};

// One specimen per line: 11 numbers, five landmarks and a size.
std::string fourByEleven() {
  std::string rows;
  for (int i = 1; i <= 4; ++i) {
    for (int c = 0; c < 10; ++c) rows += std::to_string(i * (c % 3) + c) + " ";
    rows += std::to_string(10 * i) + "\n";
  }
  return rows;
}

TEST_F(StandswTest, LoadDataKeepsTheRowsSummarisesPlotsAndEnables) {
  TempDir dir;
  writeText(dir.file("four.txt"), fourByEleven());
  ConsoleCapture console;
  run("LoadData", dir.file("four.txt"));
  EXPECT_EQ(console.text(), "");
  EXPECT_EQ(text("FileBox"), "File four.txt \n    4 Samples \n    5 landmarks");
  const Eigen::MatrixXd data = dload(dir.file("four.txt"));
  EXPECT_EQ(sw_.DATA(), data);
  EXPECT_EQ(dialogs_.requests().back().title, "Enter file to Load?");
  EXPECT_EQ(dialogs_.requests().back().filter, kLandmarkFilter);
  EXPECT_EQ(enables(), "110000");

  // Every landmark of every row, then each landmark of the mean row.
  const std::vector<GraphicsObject> drawn = points(window_);
  ASSERT_EQ(drawn.size(), 25u);
  const Eigen::RowVectorXd mean = data.colwise().mean();
  for (size_t i = 0; i < drawn.size(); ++i) {
    const bool isMean = i >= 20;
    const Eigen::Index row = static_cast<Eigen::Index>(i / 5), j = static_cast<Eigen::Index>(i % 5);
    EXPECT_EQ(drawn[i].lineStyle, isMean ? "b<" : "bo");
    EXPECT_EQ(drawn[i].markerSize, 3);
    ASSERT_EQ(drawn[i].xdata.size(), 1);
    EXPECT_EQ(drawn[i].xdata(0), isMean ? mean(2 * j) : data(row, 2 * j));
    EXPECT_EQ(drawn[i].ydata(0), isMean ? mean(2 * j + 1) : data(row, 2 * j + 1));
    EXPECT_EQ(drawn[i].zdata.size(), 0);
  }
  const GraphicsObject& axes = graphics_.object(graphics_.gca());
  EXPECT_TRUE(axes.details().hold);
  EXPECT_TRUE(axes.details().axisEqual);
  EXPECT_EQ(axes.parent, window_);
}

// The 2D window names its own plot and tells its own status line what
// each step did.
TEST_F(StandswTest, StepsSayWhatTheyDidAndThePlotNamesWhatItShows) {
  std::vector<GraphicsChange> said;
  graphics_.subscribe([&said](const GraphicsChange& c) {
    if (c.kind == GraphicsChange::Kind::status) said.push_back(c);
  });
  graphics_.setCallbackObject(tag("FileBox"));
  const std::string data = examplePath("skulls2d_superimposed.txt");
  const struct {
    const char* action;
    std::optional<std::string> answer;
    std::string says, title;
    const char* names;  // the legend names drawn, in order, joined by "; "
  } steps[] = {
      {"LoadData", data, "Loaded 40 specimens with 14 landmarks from skulls2d_superimposed.txt",
       "skulls2d_superimposed.txt: 40 specimens, superimposed",
       "specimens, superimposed; mean shape"},
      {"UseCS", {}, "x is the centroid size", "", ""},
      {"UseLog", {}, "log10 x runs from ", "", ""},
      {"Acceptx", {}, "x accepted", "", ""},
      {"Regress", {}, "Standardized 40 specimens to log10 x = ", "", ""},
      {"ShowRegress",
       {},
       "Showing the 40 standardized specimens",
       "skulls2d_superimposed.txt: 40 standardized specimens",
       "specimens, superimposed; mean shape; standardized specimens; mean of standardized"},
  };
  for (const auto& step : steps) {
    said.clear();
    run(step.action, step.answer);
    ASSERT_EQ(graphics_.lastError(), "") << step.action;
    ASSERT_FALSE(said.empty()) << step.action;
    EXPECT_EQ(said.back().detail.rfind(step.says, 0), 0u) << said.back().detail;
    EXPECT_EQ(said.back().handle, window_);
    if (*step.names == '\0') continue;
    std::string names;
    for (const GraphicsObject& o : points(window_)) {
      const std::string name(o.displayName);
      if (("; " + names + "; ").find("; " + name + "; ") != std::string::npos) continue;
      names += (names.empty() ? "" : "; ") + name;
    }
    EXPECT_EQ(names, step.names) << step.action;
    const Handle axes = graphics_.descendants(window_, ObjectType::axes).front();
    EXPECT_EQ(graphics_.getString(axes, "Title"), step.title);
  }
}

// The 2D window says so too when lines after a blank one were not read.
TEST_F(StandswTest, LinesNotReadAfterABlankLineAreSaid) {
  std::vector<std::string> said;
  graphics_.subscribe([&said](const GraphicsChange& c) {
    if (c.kind == GraphicsChange::Kind::status) said.push_back(c.detail);
  });
  graphics_.setCallbackObject(tag("FileBox"));
  TempDir dir;
  // Old Macintosh line ends, and a final LF, read as the lines they end.
  std::string rows = readText(examplePath("skulls2d_superimposed.txt"));
  std::replace(rows.begin(), rows.end(), '\n', '\r');
  writeText(dir.file("data.txt"), rows + "\r1 2 3\n");
  writeText(dir.file("x.txt"), readText(kMass) + "\n9\n10\n");
  const struct {
    const char* action;
    std::string file;
    std::string says;
  } steps[] = {
      {"LoadData", "data.txt",
       "Loaded 40 specimens with 14 landmarks from data.txt; line 41 is blank: the line after it "
       "was not read"},
      {"LoadxList", "x.txt",
       "Loaded 40 x values from x.txt; choose x, ln x or log10 x next; line 41 is blank: the 2 "
       "lines after it were not read"},
  };
  for (const auto& step : steps) {
    said.clear();
    run(step.action, dir.file(step.file));
    ASSERT_EQ(graphics_.lastError(), "") << step.action;
    ASSERT_FALSE(said.empty()) << step.action;
    EXPECT_EQ(said.back(), step.says);
  }
}

TEST_F(StandswTest, TpsAndTablesLoadAsTheirRows) {
  run("LoadData", examplePath("skulls2d.txt"));
  const Eigen::MatrixXd rows = sw_.DATA();
  run("LoadData", examplePath("skulls2d.tps"));
  EXPECT_EQ(graphics_.lastError(), "");
  EXPECT_EQ(text("FileBox"), "File skulls2d.tps \n   40 Samples \n   14 landmarks");
  EXPECT_EQ(sw_.DATA().leftCols(28), rows.leftCols(28));
  EXPECT_TRUE(testing::assert_near(sw_.DATA().col(28), rows.col(28), 1e-3));

  run("LoadData", examplePath("skulls.csv"));
  EXPECT_NE(graphics_.lastError().find("holds 3D landmarks; load it in the 3D window"),
            std::string::npos)
      << graphics_.lastError();
}

TEST_F(StandswTest, ExampleDataSetItsXListAndWherePlotsGo) {
  run("LoadData", k2D);
  const Eigen::MatrixXd& data = sw_.DATA();
  EXPECT_EQ(text("FileBox"), "File skulls2d.txt \n   40 Samples \n   14 landmarks");
  ASSERT_EQ(data.rows(), 40);
  ASSERT_EQ(data.cols(), 29);
  // The last column is each specimen's centroid size in the plane.
  for (Eigen::Index i = 0; i < 40; ++i) {
    Eigen::MatrixXd xy(14, 2);
    for (Eigen::Index j = 0; j < 14; ++j) xy.row(j) << data(i, 2 * j), data(i, 2 * j + 1);
    EXPECT_NEAR(data(i, 28), (xy.rowwise() - xy.colwise().mean()).norm(), 1e-3) << i + 1;
  }
  run("LoadxList", kMass);
  EXPECT_EQ(text("XVarBox"), "File skulls_mass.txt \n   40 listed x values");
  ASSERT_EQ(recorded_.messages().size(), 1u);  // these rows are not superimposed
  run("UseCS");
  EXPECT_EQ(sw_.XLIST(), data.col(28));

  // Plots go into whichever window is current; Show data draws the data set
  // afresh, its mean once (numbered 1 to 14, not on from 15).
  const size_t onePlot = 40 * 14 + 14;
  EXPECT_EQ(drawn(), onePlot);
  const Handle other = graphics_.figure();
  run("ShowData");
  EXPECT_EQ(points(other).size(), onePlot);
  graphics_.figure(window_);
  run("ShowData");
  EXPECT_EQ(drawn(), onePlot);
  EXPECT_EQ(graphics_.descendants(kRoot, ObjectType::figure).size(), 2u);
}

// The window takes its data as superimposed: rows that plainly are not are
// shown as read with a message saying so, and every step that would analyse
// them refuses them with the same words; superimposed rows go through, also
// when they were put back in millimetres (centred, one common size).
TEST_F(StandswTest, DataThatAreNotSuperimposedAreNamedAndNotRegressed) {
  const std::string then =
      ". This window standardizes superimposed 2D data; superimpose the file first with "
      "tarvolin-cli superimpose FILE --dim 2 -o superimposed.txt and load superimposed.txt";
  // The superimposed example's rows, each scaled about the origin by
  // `scale(row)`: its centroid stays there.
  TempDir dir;
  const Eigen::MatrixXd superimposed = dload(k2DSuperimposed);
  auto scaled = [&](const char* name, auto scale) {
    Eigen::MatrixXd rows = superimposed;
    for (Eigen::Index i = 0; i < rows.rows(); ++i) rows.row(i).head(28) *= scale(i);
    std::string text;
    for (Eigen::Index i = 0; i < rows.rows(); ++i) {
      for (Eigen::Index j = 0; j < rows.cols(); ++j) text += sprintf("%.17g ", rows(i, j));
      text += "\n";
    }
    writeText(dir.file(name), text);
    return dir.file(name);
  };
  const std::string millimetres = scaled("mm.txt", [](Eigen::Index) { return 38.5; });
  // Specimen i at 30 + i mm: the smallest is the first, the largest the last.
  const std::string centred = scaled("centred.txt", [&](Eigen::Index i) {
    return (30.0 + static_cast<double>(i)) / superimposed.row(i).head(28).norm();
  });
  const struct {
    std::string file;
    std::string said;  // nothing: superimposed
  } cases[] = {
      {k2D,
       "skulls2d.txt is not superimposed: specimen \"1\" has its centroid 52.29 from the origin, "
       "at centroid size 44.96, where superimposed data are centred on it" +
           then},
      {centred,
       "centred.txt is not superimposed: the centroid sizes range from 30 (specimen \"1\") to 69 "
       "(specimen \"40\"), where superimposed data share one size" +
           then},
      {k2DSuperimposed, ""},
      {millimetres, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const size_t shown = recorded_.messages().size();
    run("LoadData", c.file);
    EXPECT_EQ(sw_.DATA().rows(), 40);  // loaded and shown all the same
    EXPECT_EQ(drawn(), 40u * 14u + 14u);
    // Raw rows are never called superimposed.
    const Handle axes = graphics_.descendants(window_, ObjectType::axes).front();
    const std::string name = std::filesystem::path(c.file).filename().string();
    EXPECT_EQ(graphics_.getString(axes, "Title"),
              name + (c.said.empty() ? ": 40 specimens, superimposed" : ": 40 specimens, as read"));
    EXPECT_EQ(points(window_).front().displayName,
              c.said.empty() ? "specimens, superimposed" : "specimens, as read");
    run("UseCS");
    run("UseLn");
    run("Acceptx");
    for (const char* action : {"Regress", "Allometry", "CheckData", "ShapeSpace"}) {
      run(action);
      EXPECT_EQ(graphics_.lastError(),
                c.said.empty() ? "" : "Error in " + std::string(action) + ": " + c.said)
          << action;
    }
    EXPECT_EQ(sw_.SDATA().rows(), c.said.empty() ? 40 : 0);
    if (c.said.empty()) {
      EXPECT_EQ(recorded_.messages().size(), shown);
    } else {
      ASSERT_EQ(recorded_.messages().size(), shown + 1);
      EXPECT_EQ(recorded_.messages().back(), c.said);
    }
  }

  // Superimposed rows with a landmark left out are no longer superimposed:
  // the message says why and how to superimpose the rest.
  std::string text = readText(k2DSuperimposed);
  text.replace(0, text.find(' ', text.find(' ') + 1), "NA NA");
  writeText(dir.file("dropped.txt"), text);
  dialogs_.answerChoice("drop-landmarks");
  run("LoadData", dir.file("dropped.txt"));
  ASSERT_TRUE(sw_.state().notSuperimposed.has_value());
  EXPECT_NE(sw_.state().notSuperimposed->find("is no longer superimposed once the landmarks "
                                              "missing in some specimen are left out"),
            std::string::npos)
      << *sw_.state().notSuperimposed;
}

TEST_F(StandswTest, StatisticsBoxesTransformButtonsAndRefusedLogarithms) {
  TempDir dir;
  writeText(dir.file("four.txt"), fourByEleven());
  writeText(dir.file("list.txt"), "1\n2\n3\n10\n");
  run("LoadData", dir.file("four.txt"));
  run("LoadxList", dir.file("list.txt"));
  EXPECT_EQ(text("XVarBox"), "File list.txt \n    4 listed x values");
  ConsoleCapture console;
  run("UseX");
  EXPECT_EQ(text("MinBox") + "|" + text("MaxBox") + "|" + text("MeanBox") + "|" +
                text("MedianBox") + "|" + text("StandardBox"),
            "1.0000|10.0000|4.0000|2.5000|1.0000");
  std::string echoes;
  for (const char* box : {"MinBox", "MaxBox", "MeanBox", "MedianBox"}) {
    echoes += sprintf("h = %.10g\n", tag(box).value());
  }
  EXPECT_EQ(console.text(), echoes);
  EXPECT_EQ(sw_.LCODE(), Transform::none);
  EXPECT_EQ(radios(), "100");
  const char* const actions[] = {"UseX", "UseLn", "UseLog"};
  for (int code : {1, 2, 0}) {
    run(actions[code]);
    EXPECT_EQ(sw_.LCODE(), static_cast<Transform>(code)) << actions[code];
    EXPECT_EQ(radios(), std::string("100010001").substr(3 * static_cast<size_t>(code), 3));
    EXPECT_EQ(sw_.FXLIST()(0), code == 0 ? 1 : 0) << actions[code];
  }
  // A new source puts the transform out of force until one is chosen again.
  run("UseLog");
  EXPECT_EQ(enables(), "110001");
  run("UseCS");
  EXPECT_EQ(sw_.XLIST(), Eigen::Vector4d(10, 20, 30, 40));
  EXPECT_EQ(sw_.FXLIST().size(), 0);
  EXPECT_EQ(radios(), "000");
  EXPECT_EQ(enables(), "110000");

  // A logarithm of zero is refused before anything changes.
  writeText(dir.file("zero.txt"), "1\n2\n0\n4\n");
  run("LoadxList", dir.file("zero.txt"));
  run("UseX");
  for (const char* action : {"UseLn", "UseLog"}) {
    run(action);
    EXPECT_NE(graphics_.lastError().find("specimen 3 has the x value 0"), std::string::npos)
        << graphics_.lastError();
    EXPECT_EQ(sw_.FXLIST(), Eigen::Vector4d(1, 2, 0, 4));
    EXPECT_EQ(sw_.LCODE(), Transform::none);
    EXPECT_EQ(text("MaxBox"), "4.0000");
    EXPECT_EQ(radios(), "100");
  }
}

// Every point a step draws stands for the role its legend names.
TEST_F(StandswTest, EveryPlottedPointCarriesTheRoleOfItsLegend) {
  TempDir dir;
  for (const auto& [action, answer] :
       std::vector<std::pair<const char*, std::string>>{{"LoadData", k2DSuperimposed},
                                                        {"LoadxList", kMass},
                                                        {"UseLog", ""},
                                                        {"Acceptx", ""},
                                                        {"Regress", ""},
                                                        {"SaveFile", dir.file("out.txt")}}) {
    run(action, answer.empty() ? std::nullopt : std::optional(answer));
    ASSERT_EQ(graphics_.lastError(), "") << action;
    SCOPED_TRACE(action);
    testing::expectRolesOfLegends(graphics_, kRoot);
  }
  EXPECT_GT(testing::expectRolesOfLegends(graphics_, kRoot), 0u);
}

TEST_F(StandswTest, WholePathSavesStandardsizeOfTheLoadedRows) {
  TempDir dir;
  const Eigen::MatrixXd data = dload(k2DSuperimposed);
  const Eigen::VectorXd mass = dload(kMass).col(0);
  run("LoadData", k2DSuperimposed);
  run("LoadxList", kMass);
  run("UseLog");
  run("Acceptx");
  EXPECT_EQ(enables(), "111001");
  type("StandardBox", "2");
  run("Regress");
  EXPECT_EQ(enables(), "111111");
  const Eigen::MatrixXd expected = standardsize(data, transformx(mass, Transform::log10, ""), 2).y;
  EXPECT_EQ(sw_.SDATA(), expected);

  run("SaveFile", dir.file("log.txt"));
  EXPECT_EQ(dialogs_.requests().back().title, "File Name for Standardized Data");
  EXPECT_TRUE(dialogs_.requests().back().save);
  const std::string saved = readText(dir.file("log.txt"));
  EXPECT_EQ(saved, standardizedtext(expected, 100.0));
  for (size_t end = saved.find('\n'); end != std::string::npos; end = saved.find('\n', end + 1)) {
    EXPECT_EQ(saved.substr(end - 5, 6), "100  \n");
  }

  click("CSBox", 1);
  run("SaveFile", dir.file("kept.txt"));
  EXPECT_EQ(readText(dir.file("kept.txt")), standardizedtext(expected, std::nullopt));
  click("CSBox", 0);

  run("UseLn");
  type("StandardBox", "3");
  run("Regress");
  run("SaveFile", dir.file("ln.txt"));
  EXPECT_EQ(readText(dir.file("ln.txt")),
            standardizedtext(standardsize(data, transformx(mass, Transform::ln, ""), 3).y,
                             std::exp(3.0)));
  EXPECT_NE(readText(dir.file("ln.txt")).find(" 20.0855  \n"), std::string::npos);

  run("UseCS");
  run("UseX");
  type("StandardBox", "40");
  run("Regress");
  run("SaveFile", dir.file("raw.txt"));
  const std::string raw = standardizedtext(standardsize(data, data.col(28), 40).y, 40.0);
  EXPECT_EQ(readText(dir.file("raw.txt")), raw);
  EXPECT_EQ(graphics_.lastError(), "");

  // A failed or cancelled save leaves an existing file as it was, and no
  // half-written file behind.
  run("SaveFile", dir.file("no/such/folder/raw.txt"));
  EXPECT_NE(graphics_.lastError().find("cannot write"), std::string::npos);
  run("SaveFile", "");
  EXPECT_EQ(readText(dir.file("raw.txt")), raw);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4);

  // Standardize drew the standardized specimens and their mean over the
  // data, as the 3D window does; Show standardized draws them as saved.
  const size_t before = 40 * 14 + 14;
  ASSERT_EQ(drawn(), 2 * before);
  EXPECT_EQ(points(window_)[before].lineStyle, "ro");
  EXPECT_EQ(points(window_).back().lineStyle, "r*");
  EXPECT_TRUE(graphics_.getString(graphics_.gca(), "Title").ends_with(": standardized to x = 40"))
      << graphics_.getString(graphics_.gca(), "Title");
  run("ShowRegress");
  const std::vector<GraphicsObject> all = points(window_);
  ASSERT_EQ(all.size(), 2 * before);
  EXPECT_EQ(all[before].lineStyle, "rs");
  EXPECT_EQ(all[before].xdata(0), sw_.SDATA()(0, 0));
  EXPECT_EQ(all.back().lineStyle, "ks");
  EXPECT_EQ(all.back().markerSize, 3);
  // Shown again, the data and the standardized specimens are each drawn once.
  run("ShowRegress");
  EXPECT_EQ(points(window_).size(), all.size());
  run("ShowData");
  run("ShowRegress");
  EXPECT_EQ(points(window_).size(), all.size());
  // Use centroid size took a new x-variable, which was not accepted again.
  EXPECT_EQ(enables(), "110111");
}

TEST_F(StandswTest, ClearEmptiesDataAxesAndBoxesButKeepsTheTransform) {
  run("LoadData", k2DSuperimposed);
  run("UseCS");
  run("UseLn");
  run("Acceptx");
  run("Regress");
  click("CSBox", 1);
  const std::string xvar = text("XVarBox");
  ConsoleCapture console;
  run("Clear");
  EXPECT_EQ(sw_.DATA().size() + sw_.XLIST().size() + sw_.SDATA().size() + sw_.FXLIST().size(), 0);
  EXPECT_EQ(sw_.LCODE(), Transform::ln);
  EXPECT_EQ(text("FileBox"), "No Data Loaded");
  for (const char* box : {"MinBox", "MaxBox", "MeanBox", "MedianBox", "StandardBox"}) {
    EXPECT_EQ(text(box), "0.0000") << box;
  }
  EXPECT_EQ(radios(), "000");
  EXPECT_EQ(enables(), "000000");
  EXPECT_EQ(text("XVarBox"), xvar);
  EXPECT_EQ(value("CSBox"), 1);
  EXPECT_EQ(drawn(), 0u);
  EXPECT_EQ(graphics_.getString(graphics_.gca(), "Title"), "");  // no stale title
  EXPECT_FALSE(enabled("ShowDataButton"));
  EXPECT_FALSE(graphics_.object(graphics_.gca()).details().hold);
  EXPECT_EQ(std::count(console.text().begin(), console.text().end(), '\n'), 4);

  run("LoadData", k2DSuperimposed);
  EXPECT_EQ(enables(), "110000");
}

TEST_F(StandswTest, ActionsMatchOnlyExactlyAndOthersDoNothing) {
  run("Acceptx");
  EXPECT_TRUE(enabled("AcceptStandard"));
  ConsoleCapture console;
  for (const char* action : {"loaddata", "LOADDATA", "", "LoadData ", "clear", "Regress2",
                             "LoadWire", "ClearFigure", "CopyImage"}) {
    run(action);
  }
  EXPECT_EQ(console.text(), "");
  EXPECT_TRUE(recorded_.messages().empty());
  EXPECT_EQ(graphics_.lastError(), "");
  EXPECT_TRUE(dialogs_.requests().empty());
  EXPECT_EQ(drawn(), 0u);
  EXPECT_EQ(enables(), "001001");
  EXPECT_EQ(Standsw::kActions.size(), 31u);
}

TEST_F(StandswTest, RefusedFilesAndCancelledDialogsChangeNothing) {
  TempDir dir;
  writeText(dir.file("text.txt"), "1 2 3\n1 x 3\n");
  writeText(dir.file("even.txt"), "1 2 3 4\n5 6 7 8\n");
  writeText(dir.file("one.txt"), "1\n2\n");
  run("LoadData", k2DSuperimposed);
  run("UseCS");
  const size_t plotted = drawn();
  const std::string width =
      " numbers on a line; a 2D data set has 2k + 1: X and Y of each of k "
      "landmarks, then the size";
  const struct {
    const char* action;
    std::string file;
    std::string expected;  // the one console line, or nothing for a cancel
  } cases[] = {
      {"LoadData", "", ""},
      {"LoadxList", "", ""},
      {"LoadData", dir.file("text.txt"),
       "Error in LoadData: " + dir.file("text.txt") + ":2: \"x\" is not a number"},
      {"LoadData", dir.file("missing.txt"),
       "Error in LoadData: " + dir.file("missing.txt") +
           ": cannot be opened: No such file or directory"},
      {"LoadData", dir.file("even.txt"),
       "Error in LoadData: " + dir.file("even.txt") + ":1: has 4" + width},
      {"LoadData", dir.file("one.txt"),
       "Error in LoadData: " + dir.file("one.txt") + ":1: has 1" + width},
      {"LoadxList", dir.file("even.txt"),
       "Error in LoadxList: " + dir.file("even.txt") +
           ":1: has 4 numbers on a line; an x list holds one value per line"},
  };
  for (const auto& c : cases) {
    ConsoleCapture console;
    run(c.action, c.file);
    EXPECT_EQ(console.text(), c.expected.empty() ? "" : c.expected + "\n");
    EXPECT_EQ(graphics_.lastError(), c.expected);
  }
  EXPECT_EQ(text("FileBox"), "File skulls2d_superimposed.txt \n   40 Samples \n   14 landmarks");
  EXPECT_EQ(text("XVarBox"), "");
  EXPECT_EQ(sw_.DATA(), dload(k2DSuperimposed));
  EXPECT_EQ(sw_.XLIST(), dload(k2DSuperimposed).col(28));
  EXPECT_EQ(drawn(), plotted);
  EXPECT_TRUE(recorded_.messages().empty());
  EXPECT_EQ(dialogs_.pendingAnswers(), 0u);
}

TEST_F(StandswTest, MissingValuesAreReportedAndChangeNothing) {
  const struct {
    const char* action;
    const char* expected;
  } cases[] = {
      {"ShowData", "Error in ShowData: no data set is loaded; load one first\n"},
      {"UseCS", "Error in UseCS: no data set is loaded; load one first\n"},
      {"UseX",
       "Error in UseX: no x-variable has been chosen; use centroid size or load an x list "
       "first\n"},
      {"Regress", "Error in Regress: no data set is loaded; load one first\n"},
      {"SaveFile",
       "newcs = 0\nError in SaveFile: there is no standardized data to save; standardize first\n"},
      {"ShowRegress",
       "Error in ShowRegress: there is no standardized data to show; standardize first\n"},
  };
  for (const auto& c : cases) {
    ConsoleCapture console;
    run(c.action);
    EXPECT_EQ(console.text(), c.expected);
  }
  EXPECT_TRUE(dialogs_.requests().empty());
  EXPECT_EQ(drawn(), 0u);
  EXPECT_EQ(enables(), "000001");

  run("LoadData", k2D);
  ConsoleCapture console;
  run("Regress");
  EXPECT_EQ(console.text(),
            "Error in Regress: no x-variable has been chosen for this data set; use centroid size "
            "or load an x list, then choose x, ln x or log10 x\n");
  run("Clear");
  run("ShowData");
  EXPECT_EQ(graphics_.lastError(), "Error in ShowData: no data set is loaded; load one first");
  EXPECT_EQ(drawn(), 0u);
}

TEST_F(StandswTest, BadStandardValueOrXLengthStopsRegressAndSave) {
  TempDir dir;
  run("LoadData", k2DSuperimposed);
  run("UseCS");
  run("UseX");
  run("Regress");
  const Eigen::MatrixXd sdata = sw_.SDATA();
  type("StandardBox", "abc");
  run("Regress");
  EXPECT_EQ(graphics_.lastError(), "Error in Regress: the standard value \"abc\" is not a number");
  EXPECT_EQ(sw_.SDATA(), sdata);
  run("SaveFile");
  EXPECT_NE(graphics_.lastError().find("changed to abc after Standardize"), std::string::npos);
  EXPECT_TRUE(std::none_of(dialogs_.requests().begin(), dialogs_.requests().end(),
                           [](const auto& r) { return r.save; }));

  // An x list shorter than the data set: kept with a warning, refused by Regress.
  writeText(dir.file("short.txt"), "1\n2\n3\n");
  run("Clear");
  run("LoadData", k2DSuperimposed);
  run("LoadxList", dir.file("short.txt"));
  EXPECT_EQ(recorded_.messages(),
            std::vector<std::string>{
                "The number of values in the x-list does not match the data set, please reload"});
  EXPECT_EQ(sw_.XLIST().rows(), 3);
  run("UseX");
  run("Regress");
  EXPECT_EQ(graphics_.lastError(),
            "Error in Regress: the x-variable has 3 values for 40 specimens; it needs one value "
            "per specimen");
  EXPECT_EQ(sw_.SDATA().size(), 0);
  EXPECT_FALSE(enabled("SaveStandard"));
}

// A 3D and a 2D window with the same tags in one graphics model: each
// switchyard reads and writes only its own.
TEST(SwitchyardWindows, SameTagsInTwoWindowsDoNotCrossTalk) {
  testing::CwdGuard cwd;
  Graphics graphics;
  ScriptedFileDialogs dialogs;
  const Handle window3 = testWindow(graphics, true);
  const Handle window2 = testWindow(graphics, false);
  Stand3sw sw3(graphics, dialogs);
  Standsw sw2(graphics, dialogs);
  sw3.setWindowLocator("Tarvolin", [=] { return std::optional<Handle>(window3); });
  sw2.setWindowLocator("Tarvolin2D", [=] { return std::optional<Handle>(window2); });
  auto in = [&](Handle window, const char* tag) { return graphics.findobj(tag, window).front(); };
  auto str = [&](Handle w, const char* tag) { return graphics.getString(in(w, tag), "String"); };
  auto enabled = [&](Handle w, const char* tag) {
    return graphics.getString(in(w, tag), "Enable");
  };
  for (Handle w : {window3, window2}) graphics.set(in(w, "MinBox"), "String", std::string("9"));

  dialogs.choose(k2D);
  sw2("LoadData");
  EXPECT_EQ(str(window2, "FileBox"), "File skulls2d.txt \n   40 Samples \n   14 landmarks");
  EXPECT_EQ(str(window3, "FileBox"), "No Data Loaded");
  EXPECT_EQ(enabled(window2, "UseCSButton") + enabled(window3, "UseCSButton"), "onoff");

  sw2("Clear");
  EXPECT_EQ(str(window2, "MinBox"), "0.0000");
  EXPECT_EQ(str(window3, "MinBox"), "9");

  sw2("Acceptx");
  EXPECT_EQ(enabled(window2, "AcceptStandard") + enabled(window3, "AcceptStandard"), "onoff");
  sw2("Clear");
  sw3("Acceptx");
  EXPECT_EQ(enabled(window2, "AcceptStandard") + enabled(window3, "AcceptStandard"), "offon");

  EXPECT_EQ(graphics.lastError(), "");
}

}  // namespace
}  // namespace tarvolin
