#include <cmath>
#include <nlohmann/json.hpp>

#include "cli/tarvolincli.h"
#include "clitesting.h"
#include "core/console.h"
#include "core/sprintf.h"
#include "formats/dload.h"
#include "numerics/procrustesanova.h"
#include "numerics/superimposedataset.h"

namespace tarvolin {
namespace {

using testing::CliRun;
using testing::examplePath;
using testing::runCli;
using testing::TempDir;
using testing::writeText;

const std::string zor = examplePath("skulls_zor.txt");

// Labels for the 40 skulls: `first` for the first 20, `second` for the rest.
std::string labels(const std::string& first, const std::string& second) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += (i < 20 ? first : second) + "\n";
  return text;
}

// The command's figures are those of the ANOVA of the superimposed data on
// ln size, computed here without the command line; the table says the same.
TEST(CliAllometry, ReportsTheAnovaOfTheSuperimposedDataOnX) {
  const Eigen::MatrixXd superimposed = superimposedataset(dload(zor), consoleSink()).data;
  AnovaDesign design;
  design.x = superimposed.col(42).array().log();
  const ProcrustesAnova expected = procrustesanova(superimposed.leftCols(42), design, 99, 5);

  const CliRun json = runCli(
      {"allometry", zor, "--transform", "ln", "--permutations", "99", "--seed", "5", "--json"});
  ASSERT_EQ(json.status, 0) << json.err;
  const nlohmann::json report = nlohmann::json::parse(json.out);
  ASSERT_EQ(report["terms"].size(), 1u);
  const nlohmann::json& size = report["terms"][0];
  EXPECT_EQ(size["term"], "size");
  EXPECT_EQ(size["rsq"].get<double>(), expected.terms[0].rsq);
  EXPECT_EQ(size["f"].get<double>(), expected.terms[0].f);
  EXPECT_EQ(size["p"].get<double>(), expected.terms[0].p);
  EXPECT_EQ(size["z"].get<double>(), expected.terms[0].z);
  EXPECT_EQ(report["residual"]["df"], 38);
  EXPECT_EQ(report["total"]["ss"].get<double>(), expected.totalSs);
  EXPECT_EQ(report["specimens"], 40);
  EXPECT_EQ(report["landmarks"], 14);
  EXPECT_EQ(report["seed"], 5);

  const CliRun table =
      runCli({"allometry", zor, "--transform", "ln", "--permutations", "99", "--seed", "5"});
  ASSERT_EQ(table.status, 0) << table.err;
  for (const char* words :
       {"Procrustes ANOVA of shape on ln of centroid size: skulls_zor.txt, 40 specimens, 14 "
        "landmarks (3D)\nsuperimposition: 3 rounds, as the standardization is defined; 99 "
        "permutations of the residuals, seed 5\n",
        "\nsize ", "\nResiduals  38", "\nTotal      39", "Pr(>F)"}) {
    EXPECT_NE(table.out.find(words), std::string::npos) << words << "\n" << table.out;
  }
  // x from a table's column is named with its column.
  const CliRun column =
      runCli({"allometry", examplePath("skulls.csv"), "--x",
              examplePath("skulls_covariates.csv") + ":mass", "--permutations", "9", "--json"});
  ASSERT_EQ(column.status, 0) << column.err;
  EXPECT_EQ(nlohmann::json::parse(column.out)["x"], "skulls_covariates.csv:mass");
}

// Groups add their terms to the ANOVA and their pooled slope to the
// standardization; one group changes nothing; the converged fit says so.
TEST(CliAllometry, GroupsAndTheConvergedFit) {
  TempDir dir;
  writeText(dir.file("two.txt"), labels("a", "b"));
  writeText(dir.file("one.txt"), labels("a", "a"));
  const CliRun grouped = runCli({"allometry", zor, "--groups", dir.file("two.txt"), "--interaction",
                                 "--permutations", "9", "--json"});
  ASSERT_EQ(grouped.status, 0) << grouped.err;
  const nlohmann::json report = nlohmann::json::parse(grouped.out);
  ASSERT_EQ(report["terms"].size(), 3u);
  EXPECT_EQ(report["terms"][1]["term"], "group");
  EXPECT_EQ(report["terms"][2]["term"], "size:group");
  EXPECT_EQ(report["residual"]["df"], 36);

  const CliRun plain = runCli({"standardize", zor, "--transform", "ln"});
  const CliRun oneGroup =
      runCli({"standardize", zor, "--transform", "ln", "--groups", dir.file("one.txt")});
  const CliRun twoGroups =
      runCli({"standardize", zor, "--transform", "ln", "--groups", dir.file("two.txt")});
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(oneGroup.out, plain.out);
  EXPECT_EQ(twoGroups.status, 0) << twoGroups.err;
  EXPECT_NE(twoGroups.out, plain.out);

  const CliRun converged = runCli({"info", zor, "--gpa", "converged", "--tolerance", "1e-9"});
  EXPECT_NE(converged.out.find("superimposition: converged in "), std::string::npos)
      << converged.out;
}

TEST(CliAllometry, BadInputNamesItsFile) {
  TempDir dir;
  writeText(dir.file("constant.txt"), labels("2", "2"));
  std::string lonely = labels("a", "b");
  lonely.replace(0, 1, "c");
  writeText(dir.file("lonely.txt"), lonely);
  // One shape, moved, turned and scaled: nothing but rounding is left to
  // regress on size.
  const double shape[4][3] = {{0, 0, 0}, {4, 0, 0}, {1, 3, 0}, {1, 1, 2}};
  std::string same;
  for (int i = 0; i < 6; ++i) {
    const double scale = 1 + i, angle = 0.4 * i, c = std::cos(angle), s = std::sin(angle);
    for (const auto& p : shape) {
      same += sprintf("%.17g %.17g %.17g ", scale * (c * p[0] - s * p[1]) + i,
                      scale * (s * p[0] + c * p[1]) - 2 * i, scale * p[2] + 3);
    }
    same += sprintf("%g\n", scale);
  }
  writeText(dir.file("same.txt"), same);
  const struct {
    std::vector<std::string> words;
    std::string expected;
  } cases[] = {
      {{"allometry", zor, "--x", dir.file("constant.txt")},
       dir.file("constant.txt") + ": every specimen has the same x value"},
      {{"allometry", zor, "--groups", dir.file("lonely.txt")},
       dir.file("lonely.txt") + ": group \"c\" has one specimen"},
      {{"allometry", zor, "--groups", dir.file("nosuch.csv") + ":species"}, dir.file("nosuch.csv")},
      {{"superimpose", zor, "--gpa", "converged", "--tolerance", "-1"}, "--tolerance must be"},
      {{"allometry", dir.file("same.txt")},
       dir.file("same.txt") + ": the 6 specimens have one and the same shape (total variance "},
  };
  for (const auto& c : cases) {
    const CliRun run = runCli(c.words);
    EXPECT_EQ(run.status, 2) << c.expected;
    EXPECT_EQ(run.err.find("tarvolin-cli: " + c.expected), 0u) << run.err;
  }
}

}  // namespace
}  // namespace tarvolin
