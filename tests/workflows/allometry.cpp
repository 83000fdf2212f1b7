// The Allometry button of both workflow windows and its report window.
#include <algorithm>
#include <functional>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/tarvolincli.h"
#include "core/console.h"
#include "core/sprintf.h"
#include "formats/readgroups.h"
#include "tests/testing.h"
#include "workflows/allometrytable.h"
#include "workflows/stand3sw.h"
#include "workflows/standsw.h"
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

class AllometryTest : public ::testing::TestWithParam<Workflow>,
                      protected testing::WorkflowWindows {
 protected:
  AllometryTest() : WorkflowWindows(GetParam().threeD) {}

  const Eigen::MatrixXd& data() const { return GetParam().threeD ? sw3_.DATA() : sw2_.DATA(); }
  const Eigen::VectorXd& fxlist() const {
    return GetParam().threeD ? sw3_.FXLIST() : sw2_.FXLIST();
  }
  const std::optional<SpecimenGroups>& groups() const {
    return GetParam().threeD ? sw3_.groups() : sw2_.groups();
  }
  bool buttonOn(const char* tag = "AllometryButton") const {
    return graphics_.getString(graphics_.findobj(tag, window_).front(), "Enable") == "on";
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
  EXPECT_EQ(points.xdata.map(), fxlist().col(0).transpose());
  EXPECT_EQ(points.ydata.size(), n);
  EXPECT_EQ(line.displayName, "fitted line");
  EXPECT_EQ(line.xdata.map(), Eigen::RowVector2d(fxlist().minCoeff(), fxlist().maxCoeff()));

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
  const AllometryRecord record{std::filesystem::path(GetParam().data).filename().string(),
                               "centroid size",
                               "ln",
                               "",
                               n,
                               14,
                               std::string(GetParam().threeD ? kAllometryFit3D : kAllometryFit2D)};
  EXPECT_EQ(readText(dir.file("table.csv")), allometrycsv(anova, record));
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

// Groups loaded for the data set add the group and size:group terms, until
// new data are loaded; a list by order and a table by ID read alike.
TEST_P(AllometryTest, GroupsAddTheirTermsUntilNewDataAreLoaded) {
  TempDir dir;
  std::string labels, table = "id,group\n", shortList;
  std::vector<int> of;
  for (int i = 0; i < 40; ++i) {
    const char* label = i % 3 == 0 ? "fox" : "wolf";
    labels += std::string(label) + "\n";
    if (i < 39) shortList += std::string(label) + "\n";
    table += std::to_string(40 - i) + "," + ((39 - i) % 3 == 0 ? "fox" : "wolf") + "\n";
    of.push_back(i % 3 == 0 ? 0 : 1);
  }
  testing::writeText(dir.file("groups.txt"), labels);
  testing::writeText(dir.file("groups.CSV"), table);
  testing::writeText(dir.file("short.txt"), shortList);

  run("LoadGroups");
  EXPECT_TRUE(graphics_.lastError().starts_with("Error in LoadGroups: no data set is loaded"));
  EXPECT_TRUE(dialogs_.requests().empty());
  run("LoadData", GetParam().data);
  EXPECT_TRUE(buttonOn("LoadGroupsButton"));
  const struct {
    std::string file;  // "" cancels the dialog
    std::string error;
  } loads[] = {
      {dir.file("groups.CSV"), ""},
      {dir.file("groups.txt"), ""},
      {dir.file("short.txt"), "Error in LoadGroups: " + dir.file("short.txt") + ": "},
      {"", ""},
  };
  for (const auto& load : loads) {
    status_.clear();
    run("LoadGroups", load.file);
    EXPECT_TRUE(graphics_.lastError().starts_with(load.error)) << graphics_.lastError();
    EXPECT_EQ(graphics_.lastError().empty(), load.error.empty()) << load.file;
    ASSERT_TRUE(groups().has_value()) << load.file;
    EXPECT_EQ(groups()->names, (std::vector<std::string>{"fox", "wolf"}));
    EXPECT_EQ(groups()->of, of);
    EXPECT_EQ(status_, load.error.empty() && !load.file.empty()
                           ? "Loaded 2 groups for 40 specimens from " +
                                 std::filesystem::path(load.file).filename().string()
                           : "");
  }
  EXPECT_EQ(dialogs_.requests().back().filter, "*.txt;*.csv;*.tsv");
  EXPECT_EQ(groups()->source, dir.file("groups.txt"));

  for (const char* action : {"UseCS", "UseLn", "Acceptx", "Allometry"}) run(action);
  ASSERT_EQ(graphics_.lastError(), "");
  AnovaDesign design{fxlist().col(0), of, {"fox", "wolf"}, true};
  const ProcrustesAnova anova = procrustesanova(data().leftCols(data().cols() - 1), design, 999, 1);
  ASSERT_EQ(anova.terms.size(), 3u);
  std::string header = GetParam().header;
  header.insert(header.find('\n'), ", 2 groups from groups.txt");
  EXPECT_EQ(reportText(reportWindows().front()), header + allometrytable(anova));

  // New data forget the groups: the report is the plain regression again.
  run("LoadData", GetParam().data);
  EXPECT_FALSE(groups().has_value());
  for (const char* action : {"UseCS", "UseLn", "Acceptx", "Allometry"}) run(action);
  EXPECT_TRUE(reportText(reportWindows().front()).starts_with(GetParam().header));
  run("Clear");
  EXPECT_FALSE(buttonOn("LoadGroupsButton"));
}

INSTANTIATE_TEST_SUITE_P(BothWorkflows, AllometryTest, ::testing::ValuesIn(kWorkflows),
                         [](const auto& p) { return p.param.threeD ? "3D" : "2D"; });

// The window's report is the command line's output, to the letter; the
// saved table and the JSON keep what the figures were computed from, and
// numbers that read back to the very figures.
TEST(Allometry, TheWindowsReportIsTheCommandLinesAndTheFilesRecordTheirInputs) {
  const std::string covariates = examplePath("skulls_covariates.csv");
  const struct {
    std::string data;
    std::string xlist;  // "" for centroid size
    const char* transform;
    std::string groups;  // "" for none
    std::string x, transformWord, groupsFile;
  } cases[] = {
      {examplePath("skulls.csv"), "", "UseLn", "", "centroid size", "ln", ""},
      {examplePath("skulls.csv"), examplePath("skulls_mass.txt"), "UseLog", covariates,
       "skulls_mass.txt", "log10", "skulls_covariates.csv"},
      {examplePath("skulls_zor.txt"), "", "UseX", "", "centroid size", "none", ""},
  };
  for (const auto& c : cases) {
    testing::CwdGuard cwd;
    Graphics graphics;
    ScriptedFileDialogs dialogs;
    testing::testWindow(graphics, true);
    Stand3sw sw(graphics, dialogs);
    dialogs.choose(c.data);
    sw("LoadData");
    if (!c.groups.empty()) {
      dialogs.choose(c.groups);
      sw("LoadGroups");
    }
    if (c.xlist.empty()) {
      sw("UseCS");
    } else {
      dialogs.choose(c.xlist);
      sw("LoadxList");
    }
    for (const char* action : {c.transform, "Acceptx", "Allometry"}) sw(action);
    ASSERT_EQ(graphics.lastError(), "") << c.x;
    TempDir dir;
    dialogs.choose(dir.file("table.csv"));
    sw("AllometrySave");
    ASSERT_EQ(graphics.lastError(), "") << c.x;

    // One table: a header and a row per term, Residuals and Total, each
    // with the record.
    std::istringstream lines(readText(dir.file("table.csv")));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "term,Df,SS,MS,Rsq,F,Z,Pr(>F),data,x,transform,groups,permutations,seed");
    const std::string tail = "," + std::filesystem::path(c.data).filename().string() + "," + c.x +
                             "," + c.transformWord + "," + c.groupsFile + ",999,1";
    std::vector<std::vector<std::string>> rows;
    while (std::getline(lines, line)) {
      EXPECT_TRUE(line.ends_with(tail)) << line;
      std::vector<std::string> fields;
      std::istringstream cells(line);
      for (std::string cell; std::getline(cells, cell, ',');) fields.push_back(cell);
      rows.push_back(fields);
    }
    ASSERT_EQ(rows.size(), c.groups.empty() ? 3u : 5u) << c.x;
    EXPECT_EQ(rows.back()[0], "Total");

    std::vector<const char*> argv = {"tarvolin-cli",
                                     "allometry",
                                     c.data.c_str(),
                                     "--x",
                                     c.xlist.empty() ? "cs" : c.xlist.c_str(),
                                     "--transform",
                                     c.transformWord.c_str(),
                                     "--json"};
    const std::string groupsArg = c.groups + ":group";
    if (!c.groups.empty())
      argv.insert(argv.end(), {"--groups", groupsArg.c_str(), "--interaction"});
    std::ostringstream out, err;
    ASSERT_EQ(runcli(static_cast<int>(argv.size()), argv.data(), out, err), 0) << err.str();
    const nlohmann::json json = nlohmann::json::parse(out.str());
    argv.erase(std::find(argv.begin(), argv.end(), std::string_view("--json")));
    std::ostringstream text;
    ASSERT_EQ(runcli(static_cast<int>(argv.size()), argv.data(), text, err), 0) << err.str();
    sw("AllometryCopy");
    EXPECT_EQ(graphics.textClipboard(), text.str());
    EXPECT_EQ(json["data"], std::filesystem::path(c.data).filename().string());
    EXPECT_EQ(json["x"], c.x);
    EXPECT_EQ(json["transform"], c.transformWord);
    EXPECT_EQ(json["groups"],
              c.groups.empty() ? nlohmann::json(nullptr) : nlohmann::json(c.groupsFile));
    EXPECT_EQ(json["permutations"], 999);
    EXPECT_EQ(json["seed"], 1);
    // Every figure of the CSV reads back to the JSON's double, bit for bit.
    for (size_t t = 0; t + 2 < rows.size(); ++t) {
      const nlohmann::json& term = json["terms"][t];
      EXPECT_EQ(rows[t][0], term["term"].get<std::string>());
      const char* keys[] = {"ss", "ms", "rsq", "f", "z", "p"};
      for (size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(std::stod(rows[t][2 + k]), term[keys[k]].get<double>())
            << c.x << " " << rows[t][0] << " " << keys[k];
      }
    }
    EXPECT_EQ(std::stod(rows[rows.size() - 2][2]), json["residual"]["ss"].get<double>());
    EXPECT_EQ(std::stod(rows.back()[2]), json["total"]["ss"].get<double>());
  }
}

// What a field of the CSV becomes: quoted where a reader would split it,
// numbers that are not finite as R writes them.
TEST(Allometry, CsvFieldsReadBackWhole) {
  ProcrustesAnova anova;
  anova.terms.push_back({"size", 1, 0.1, 0.1, 1.0 / 3, std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN(), 0.001});
  anova.residualDf = 2;
  anova.residualSs = 0.2;
  anova.residualMs = 0.1;
  anova.totalDf = 3;
  anova.totalSs = 0.3;
  anova.permutations = 99;
  anova.seed = 7;
  const struct {
    std::string data;
    std::string expected;  // the record's data field as written
  } cases[] = {
      {"skulls.csv", "skulls.csv"},
      {"skulls, adults.csv", "\"skulls, adults.csv\""},
      {"the \"best\" skulls.csv", "\"the \"\"best\"\" skulls.csv\""},
      {"a;b.csv", "\"a;b.csv\""},
      {" padded.csv", "\" padded.csv\""},
  };
  for (const auto& c : cases) {
    const std::string csv = allometrycsv(anova, {c.data, "centroid size", "ln", "", 3, 14, "fit"});
    const std::string tail = "," + c.expected + ",centroid size,ln,,99,7\n";
    EXPECT_NE(csv.find("\nsize,1,0.1,0.1,0.3333333333333333,Inf,NaN,0.001" + tail),
              std::string::npos)
        << csv;
    EXPECT_NE(csv.find("\nResiduals,2,0.2,0.1,,,," + tail), std::string::npos) << csv;
    EXPECT_NE(csv.find("\nTotal,3,0.3,,,,," + tail), std::string::npos) << csv;
  }
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
