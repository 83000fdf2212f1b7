// The Allometry button of both workflow windows and its report window.
#include <functional>
#include <sstream>

#include "app/tarvolincli.h"
#include "platform/console.h"
#include "platform/sprintf.h"
#include "tests/testing.h"
#include "workflow/allometrytable.h"
#include "workflow/stand3sw.h"
#include "workflow/standsw.h"
#include "workflowtesting.h"

namespace tarvolin {
namespace {

using testing::examplePath;
using testing::readText;
using testing::TempDir;

// One workflow: its window, its switchyard and what the report must say.
struct Workflow {
  bool threeD;
  std::string data;
  std::string header;
};

const Workflow kWorkflows[] = {
    {true, examplePath("skulls_zor.txt"),
     "Procrustes ANOVA of shape on ln of centroid size: skulls_zor.txt, 40 specimens, 14 "
     "landmarks (3D)\nsuperimposition: 3 rounds, as the standardization is defined; 999 "
     "permutations of the residuals, seed 1\n\n"},
    {false, examplePath("skulls2d_superimposed.txt"),
     "Procrustes ANOVA of shape on ln of centroid size: skulls2d_superimposed.txt, 40 "
     "specimens, 14 landmarks (2D)\nsuperimposition: none, the rows are used as read; 999 "
     "permutations of the residuals, seed 1\n\n"},
};

class AllometryTest : public ::testing::TestWithParam<Workflow> {
 protected:
  AllometryTest() : window_(testing::testWindow(graphics_, GetParam().threeD)) {
    graphics_.subscribe([this](const GraphicsChange& c) {
      if (c.kind == GraphicsChange::Kind::status) status_ = c.detail;
    });
  }

  void run(std::string_view action, std::optional<std::string> path = std::nullopt) {
    if (path) path->empty() ? dialogs_.cancel() : dialogs_.choose(*path);
    GetParam().threeD ? sw3_(action) : sw2_(action);
  }
  const Eigen::MatrixXd& data() const {
    return GetParam().threeD ? sw3_.state().DATA : sw2_.state().DATA;
  }
  const Eigen::MatrixXd& fxlist() const {
    return GetParam().threeD ? sw3_.state().FXLIST : sw2_.state().FXLIST;
  }
  bool buttonOn() const {
    return graphics_.getString(graphics_.findobj("AllometryButton", window_).front(), "Enable") ==
           "on";
  }
  std::vector<Handle> reportWindows() const {
    std::vector<Handle> found;
    for (Handle w : graphics_.object(kRoot).children) {
      if (graphics_.getString(w, "Name").starts_with("Tarvolin allometry: ")) found.push_back(w);
    }
    return found;
  }
  std::string reportText(Handle w) const {
    return graphics_.getString(graphics_.findobj("AllometryText", w).front(), "String");
  }

  testing::CwdGuard cwd_;
  Graphics graphics_;
  ScriptedFileDialogs dialogs_;
  Handle window_;
  Stand3sw sw3_{graphics_, dialogs_};
  Standsw sw2_{graphics_, dialogs_};
  std::string status_;
};

TEST_P(AllometryTest, ReportWindowShowsTheTableAndPlotCopiesAndSaves) {
  run("LoadData", GetParam().data);
  run("UseCS");
  run("UseLn");
  EXPECT_FALSE(buttonOn());
  run("Acceptx");
  EXPECT_TRUE(buttonOn());

  const std::optional<Handle> current = graphics_.currentFigure();
  ConsoleCapture console;
  run("Allometry");
  ASSERT_EQ(graphics_.lastError(), "");
  const Eigen::Index n = data().rows();
  AnovaDesign design;
  design.x = fxlist().col(0);
  const ProcrustesAnova anova = procrustesanova(data().leftCols(data().cols() - 1), design, 999, 1);
  const std::string text = GetParam().header + allometrytable(anova);
  ASSERT_EQ(reportWindows().size(), 1u);
  const Handle report = reportWindows().front();
  EXPECT_EQ(graphics_.getString(report, "Name"),
            "Tarvolin allometry: " + std::filesystem::path(GetParam().data).filename().string());
  EXPECT_EQ(reportText(report), text);
  EXPECT_EQ(graphics_.getString(graphics_.findobj("AllometryText", report).front(), "FontName"),
            "monospace");
  EXPECT_EQ(console.text(), text + "\n");
  EXPECT_EQ(status_, sprintf("Allometry of %i specimens: size explains %.1f%% of the shape "
                             "variation (p = %g)",
                             n, 100 * anova.terms[0].rsq, anova.terms[0].p));
  EXPECT_EQ(graphics_.currentFigure(), current) << "the workflow draws where it drew";

  // N scores against x, and the line through the ends of the x range.
  const std::vector<Handle> lines = graphics_.descendants(report, ObjectType::line);
  ASSERT_EQ(lines.size(), 2u);
  const GraphicsObject& points = graphics_.object(lines[0]);
  const GraphicsObject& line = graphics_.object(lines[1]);
  EXPECT_EQ(points.displayName, "specimens");
  EXPECT_EQ(points.xdata, fxlist().col(0).transpose());
  EXPECT_EQ(points.ydata.size(), n);
  EXPECT_EQ(line.displayName, "fitted line");
  EXPECT_EQ(line.xdata, Eigen::RowVector2d(fxlist().minCoeff(), fxlist().maxCoeff()));

  // The buttons of the report window, as a click sends them.
  const std::string module = GetParam().threeD ? "stand3sw" : "standsw";
  EXPECT_EQ(
      graphics_.getString(graphics_.findobj("AllometryCopyButton", report).front(), "Callback"),
      module + "('AllometryCopy')");
  EXPECT_EQ(
      graphics_.getString(graphics_.findobj("AllometrySaveButton", report).front(), "Callback"),
      module + "('AllometrySave')");
  run("AllometryCopy");
  EXPECT_EQ(graphics_.textClipboard(), text);
  TempDir dir;
  run("AllometrySave", dir.file("table.csv"));
  EXPECT_EQ(readText(dir.file("table.csv")), allometrycsv(anova));
  EXPECT_EQ(dialogs_.requests().back().filter, "*.csv");
  run("AllometrySave", "");  // cancelled: nothing written, nothing said
  EXPECT_EQ(graphics_.lastError(), "");

  // Pressed again, the open window is refreshed, not doubled.
  run("Allometry");
  EXPECT_EQ(reportWindows(), std::vector<Handle>{report});
  EXPECT_EQ(graphics_.descendants(report, ObjectType::line).size(), 2u);

  run("Clear");
  EXPECT_FALSE(buttonOn());
}

INSTANTIATE_TEST_SUITE_P(BothWorkflows, AllometryTest, ::testing::ValuesIn(kWorkflows),
                         [](const auto& p) { return p.param.threeD ? "3D" : "2D"; });

// The window's figures are the command line's for the same data and x.
TEST(Allometry, TheWindowsReportIsTheCommandLinesOutput) {
  testing::CwdGuard cwd;
  Graphics graphics;
  ScriptedFileDialogs dialogs;
  testing::testWindow(graphics, true);
  Stand3sw sw(graphics, dialogs);
  const std::string file = examplePath("skulls_zor.txt");
  dialogs.choose(file);
  for (const char* action : {"LoadData", "UseCS", "UseLn", "Acceptx", "Allometry"}) sw(action);
  const char* argv[] = {"tarvolin-cli", "allometry", file.c_str(), "--transform", "ln"};
  std::ostringstream out, err;
  ASSERT_EQ(runcli(5, argv, out, err), 0) << err.str();
  sw("AllometryCopy");
  EXPECT_EQ(graphics.textClipboard(), out.str());
}

// Refused steps end with one line naming the action, and change nothing.
TEST(Allometry, RefusedStepsSayWhy) {
  testing::CwdGuard cwd;
  TempDir dir;
  std::string same;
  for (int i = 0; i < 40; ++i) same += "5\n";
  testing::writeText(dir.file("same.txt"), same);
  Graphics graphics;
  ScriptedFileDialogs dialogs;
  testing::testWindow(graphics, true);
  Stand3sw sw(graphics, dialogs);
  const struct {
    const char* action;
    std::string answer;
    std::string error;  // how the error begins
  } steps[] = {
      {"AllometryCopy", "", "Error in AllometryCopy: there is no allometry report"},
      {"Allometry", "", "Error in Allometry: no data set is loaded"},
      {"LoadData", examplePath("skulls_zor.txt"), ""},
      {"Allometry", "", "Error in Allometry: no x-variable has been chosen"},
      {"LoadxList", dir.file("same.txt"), ""},
      {"UseX", "", ""},
      {"Allometry", "", "Error in Allometry: "},
      {"UseCS", "", ""},
      {"UseLog", "", ""},
      {"Allometry", "", ""},
      {"AllometrySave", dir.file("no/such/folder/t.csv"),
       "Error in AllometrySave: cannot write " + dir.file("no/such/folder/t.csv")},
  };
  for (const auto& step : steps) {
    if (!step.answer.empty()) dialogs.choose(step.answer);
    sw(step.action);
    EXPECT_TRUE(graphics.lastError().starts_with(step.error))
        << step.action << ": " << graphics.lastError();
    EXPECT_EQ(graphics.lastError().empty(), step.error.empty()) << step.action;
  }
  const Handle report = graphics.findobj("AllometryText").front();
  EXPECT_TRUE(graphics.getString(report, "String")
                  .starts_with("Procrustes ANOVA of shape on log10 of centroid size: "));
}

}  // namespace
}  // namespace tarvolin
