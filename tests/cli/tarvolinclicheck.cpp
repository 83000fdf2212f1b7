#include <algorithm>
#include <array>
#include <cmath>
#include <nlohmann/json.hpp>

#include "clitesting.h"
#include "core/sprintf.h"
#include "formats/landmarktext.h"
#include "formats/readlandmarks.h"
#include "formats/readrowtable.h"

namespace tarvolin {
namespace {

using nlohmann::json;
using testing::CliRun;
using testing::examplePath;
using testing::readText;
using testing::runCli;
using testing::TempDir;
using testing::writeText;

// The specimen of the example data, from 0, that a fault is planted in: a
// typical one (skull_24), near the middle of the distances.
constexpr Eigen::Index kPlanted = 23;

enum class Fault { none, swap, mirror, size, duplicate, tableOnly, noRow };

// The fault planted in the specimen: two landmarks exchanged, the first
// coordinate reversed (a left/right or LPS/RAS mix-up), centimetres among
// millimetres (a size column too), the ID of the specimen before it.
void plant(LandmarkSet& set, Fault fault, std::array<int, 2> pair) {
  const int d = set.dims;
  for (Eigen::Index c = 0; c < set.coords.cols(); ++c) {
    if (fault == Fault::mirror && c % d == 0) set.coords(kPlanted, c) *= -1;
    if (fault == Fault::size) set.coords(kPlanted, c) *= 10;
  }
  for (int axis = 0; fault == Fault::swap && axis < d; ++axis) {
    std::swap(set.coords(kPlanted, (pair[0] - 1) * d + axis),
              set.coords(kPlanted, (pair[1] - 1) * d + axis));
  }
  if (fault == Fault::size) set.size(kPlanted) *= 10;
  if (fault == Fault::duplicate) set.ids[kPlanted] = set.ids[kPlanted - 1];
}

// The sentence that names the fault, from the figures of the JSON report.
std::string sentenceFor(Fault fault, const json& report) {
  const json& row = report["table"][kPlanted];
  const std::string id = row["id"];
  auto g = [](const json& value) { return sprintf("%.2g", value.get<double>()); };
  std::vector<double> logs;  // the median size is e to the median of the logarithms
  for (const json& r : report["table"]) logs.push_back(std::log(r["size"].get<double>()));
  std::sort(logs.begin(), logs.end());
  const double median = std::exp((logs[19] + logs[20]) / 2);
  switch (fault) {
    case Fault::none:
      return "Nothing looks out of line.";
    case Fault::swap:
      return sprintf("%s: landmarks %i and %i look swapped (distance %s -> %s)", id,
                     row["swap"][0].get<int>(), row["swap"][1].get<int>(), g(row["distance"]),
                     g(row["swap_distance"]));
    case Fault::mirror:
      return sprintf("%s looks mirrored (distance %s -> %s)", id, g(row["distance"]),
                     g(row["mirrored_distance"]));
    case Fault::size:
      return sprintf("%s: centroid size %.4g is %.1f times the median; wrong units?", id,
                     row["size"].get<double>(), row["size"].get<double>() / median);
    case Fault::duplicate:
      return sprintf("%s is the ID of 2 specimens (rows %i and %i)", id, kPlanted, kPlanted + 1);
    case Fault::tableOnly:
      return "skull_99 has a row in extra.csv but no specimen";
    case Fault::noRow:
      return "skull_07 has no row in short.csv";
  }
  return {};
}

// Each fault planted in the example data, 2D and 3D, is found and named in
// the report's words and the JSON's fields; the clean data give nothing; the
// status is 0 either way.
TEST(CliCheck, FindsEachPlantedFaultAndNothingInCleanData) {
  TempDir dir;
  // The example table with a row too many, and with one row left out.
  std::string covariates = readText(examplePath("skulls_covariates.csv"));
  writeText(dir.file("extra.csv"), covariates + "skull_99,20.5,a\n");
  const size_t seventh = covariates.find("skull_07,");
  covariates.erase(seventh, covariates.find('\n', seventh) + 1 - seventh);
  writeText(dir.file("short.csv"), covariates);

  const struct {
    std::string source;
    Fault fault;
    std::array<int, 2> pair;
    std::vector<std::string> words;
  } cases[] = {
      {"skulls2d.tps", Fault::none, {}, {}},
      {"skulls.tps", Fault::none, {}, {"--x", examplePath("skulls_covariates.csv") + ":mass"}},
      {"skulls2d.tps", Fault::swap, {3, 9}, {}},
      {"skulls.csv", Fault::swap, {2, 12}, {}},
      {"skulls2d.tps", Fault::mirror, {}, {}},
      {"skulls.tps", Fault::mirror, {}, {}},
      {"skulls2d.txt", Fault::size, {}, {"--dim", "2"}},
      {"skulls.csv", Fault::size, {}, {}},
      {"skulls2d.tps", Fault::duplicate, {}, {}},
      {"skulls.tps", Fault::duplicate, {}, {}},
      {"skulls2d.tps", Fault::tableOnly, {}, {"--x", dir.file("extra.csv") + ":mass"}},
      {"skulls.tps", Fault::noRow, {}, {"--groups", dir.file("short.csv") + ":group"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source + " fault " + std::to_string(static_cast<int>(c.fault)));
    ReadOptions options;
    options.dims = c.source == "skulls2d.txt" ? 2 : 0;
    LandmarkSet set = readlandmarks(examplePath(c.source), std::nullopt, options);
    LandmarkSet written = set;
    plant(set, c.fault, c.pair);
    written.coords = set.coords;
    written.size = set.size;
    // The writers refuse an ID given twice, which TPS files met in the field
    // hold: the ID is changed in the text.
    const std::string ending = c.source.substr(c.source.rfind('.'));
    std::string file = landmarktext(written,
                                    ending == ".csv"   ? LandmarkFormat::csv
                                    : ending == ".tps" ? LandmarkFormat::tps
                                                       : LandmarkFormat::zor,
                                    std::nullopt, ZorDigits::exact);
    const std::string& was = written.ids[kPlanted];
    if (was != set.ids[kPlanted]) {
      file.replace(file.find("ID=" + was + "\n"), was.size() + 3, "ID=" + set.ids[kPlanted]);
    }
    writeText(dir.file("planted" + ending), file);

    std::vector<std::string> words = {"check", dir.file("planted" + ending)};
    words.insert(words.end(), c.words.begin(), c.words.end());
    const CliRun text = runCli(words);
    words.push_back("--json");
    const CliRun run = runCli(words);
    ASSERT_EQ(text.status, 0) << text.err;
    ASSERT_EQ(run.status, 0) << run.err;
    const json report = json::parse(run.out);

    // The sentence opens the findings: the specimen lies farthest, or
    // nothing else is found.
    const std::string sentence = sentenceFor(c.fault, report);
    EXPECT_NE(text.out.find("\n\n" + sentence + "\n"), std::string::npos) << sentence << "\n"
                                                                          << text.out;
    EXPECT_EQ(report["file"], "planted" + ending);
    EXPECT_EQ(report["specimens"], 40);
    EXPECT_EQ(report["landmarks"], 14);
    EXPECT_EQ(report["dimension"], set.dims);
    const bool shape = c.fault == Fault::swap || c.fault == Fault::mirror;
    for (Eigen::Index i = 0; i < 40; ++i) {
      const json& row = report["table"][i];
      EXPECT_EQ(row["id"], set.ids[static_cast<size_t>(i)]);
      const bool planted = i == kPlanted;
      EXPECT_EQ(row["size_outlier"], planted && c.fault == Fault::size) << row.dump();
      EXPECT_EQ(row["mirrored"], planted && c.fault == Fault::mirror) << row.dump();
      // A specimen far out moves the mean shape, and with it the others'
      // distances: one may cross the limit, but is given no cause.
      EXPECT_TRUE(planted ? row["outlier"] == shape : !row["outlier"] || shape) << row.dump();
    }
    const json& planted = report["table"][kPlanted];
    // swap is a finding, as the text names it; the best exchange of any
    // outlier is kept apart.
    EXPECT_EQ(planted["swap"].is_null(), c.fault != Fault::swap) << planted.dump();
    EXPECT_EQ(planted["best_swap"].is_null(), !shape) << planted.dump();
    EXPECT_EQ(planted["mirrored_distance"].is_null(), !shape) << planted.dump();
    if (c.fault == Fault::swap) {
      EXPECT_EQ(planted["swap"], json(c.pair));
    }
    auto listed = [&](Fault fault, const std::string& id) {
      return c.fault == fault ? json({id}) : json::array();
    };
    EXPECT_EQ(report["ids"], json({{"duplicates", listed(Fault::duplicate, set.ids[kPlanted])},
                                   {"table_only", listed(Fault::tableOnly, "skull_99")},
                                   {"missing_from_table", listed(Fault::noRow, "skull_07")}}));
  }
}

// A TPS curve digitized from its other end in one specimen is named, slid
// or not; a covariate table's values that are not numbers and its repeated
// rows are findings (a group column's labels are any text).
TEST(CliCheck, NamesACurveDigitizedBackwardsAndTheTablesFaults) {
  TempDir dir;
  const std::string planted = testing::wingsWithACurveBackwards();
  ASSERT_NE(planted, readText(examplePath("wings2d.tps")));
  writeText(dir.file("wings.tps"), planted);
  // skull_38's mass unreadable (line 4), skull_40 on a second row (line 42).
  std::string table = readText(examplePath("skulls_covariates.csv"));
  table.replace(table.find("111.94"), 6, "n/a");
  writeText(dir.file("mass.csv"), table + "skull_40,18.49,b\n");
  const std::string mass = dir.file("mass.csv");

  const struct {
    std::vector<std::string> words;
    std::vector<std::string> findings;  // the lines that open with them
  } cases[] = {
      {{"check", dir.file("wings.tps")}, {"wing_12: curve 2 looks digitized backwards (distance "}},
      {{"check", dir.file("wings.tps"), "--slide", "none"},
       {"wing_12: curve 2 looks digitized backwards (distance "}},
      {{"check", examplePath("skulls.tps"), "--x", mass + ":mass", "--groups", mass + ":group"},
       {"mass.csv: skull_40 has 2 rows (lines 2 and 42)\n",
        "mass.csv line 4: skull_38's mass is \"n/a\", not a number\n"}},
      {{"check", examplePath("skulls.tps"), "--groups", mass + ":group"},
       {"mass.csv: skull_40 has 2 rows (lines 2 and 42)\n"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words[1] + " " + c.words.back());
    const CliRun run = runCli(c.words);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.find("Nothing looks out of line."), std::string::npos) << run.out;
    for (const std::string& finding : c.findings) {
      EXPECT_NE(run.out.find("\n" + finding), std::string::npos) << finding << "\n" << run.out;
    }
    EXPECT_EQ(run.out.find("not a number") != std::string::npos, c.findings.size() == 2) << run.out;
  }
  std::vector<std::string> words = cases[0].words;
  words.push_back("--json");
  const json report = json::parse(runCli(words).out);
  EXPECT_EQ(report["table"][11]["backwards_curve"], 2) << report["table"][11].dump();
  EXPECT_LT(report["table"][11]["backwards_distance"].get<double>(), report["limit"].get<double>());
}

// The distances, their quartiles and the limit are those of the definitions,
// recomputed here from the coordinates superimpose writes.
TEST(CliCheck, FiguresFollowTheirDefinitions) {
  for (const std::string source : {"skulls.tps", "skulls2d.tps"}) {
    SCOPED_TRACE(source);
    const CliRun superimposed = runCli({"superimpose", examplePath(source), "--to", "csv"});
    const CliRun check = runCli({"check", examplePath(source), "--json"});
    ASSERT_EQ(superimposed.status, 0) << superimposed.err;
    ASSERT_EQ(check.status, 0) << check.err;
    const LandmarkSet set = readrowtable(superimposed.out, "superimposed.csv", {});
    const json report = json::parse(check.out);

    const Eigen::RowVectorXd mean = set.coords.colwise().mean();
    std::vector<double> distances;
    for (Eigen::Index i = 0; i < set.specimens(); ++i) {
      const double d = (set.coords.row(i) - mean).norm();
      EXPECT_NEAR(report["table"][i]["distance"].get<double>(), d, 1e-12);
      distances.push_back(d);
    }
    std::vector<double> sorted = distances;
    std::sort(sorted.begin(), sorted.end());
    // Type 7: the value at position 1 + (N - 1) p, between order statistics.
    auto quantile = [&](double p) {
      const double at = static_cast<double>(sorted.size() - 1) * p;
      const size_t below = static_cast<size_t>(std::floor(at));
      const size_t above = std::min(below + 1, sorted.size() - 1);
      return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
    };
    const double q1 = quantile(0.25), q2 = quantile(0.5), q3 = quantile(0.75);
    EXPECT_NEAR(report["quartiles"][0].get<double>(), q1, 1e-12);
    EXPECT_NEAR(report["quartiles"][1].get<double>(), q2, 1e-12);
    EXPECT_NEAR(report["quartiles"][2].get<double>(), q3, 1e-12);
    EXPECT_NEAR(report["limit"].get<double>(), q3 + 1.5 * (q3 - q1), 1e-12);
    // The farthest specimen is ranked first.
    const size_t farthest = static_cast<size_t>(
        std::max_element(distances.begin(), distances.end()) - distances.begin());
    EXPECT_EQ(report["table"][farthest]["rank"], 1);
    EXPECT_EQ(report["table"][0]["size"].get<double>(), set.size(0));
  }
}

// The report goes to -o whole; --gpa converged says how the fit ended, as
// superimpose does; a file that cannot be read, or a table that cannot be
// matched, gives status 2 and a message naming it.
TEST(CliCheck, WritesToAFileAndRefusesWhatItCannotRead) {
  TempDir dir;
  const std::string tps = examplePath("skulls.tps");
  writeText(dir.file("header.csv"), "id,mass\n");
  const struct {
    std::vector<std::string> words;
    int status;
    std::string err;  // how standard error begins
  } cases[] = {
      {{"check", tps, "-o", dir.file("report.txt")}, 0, ""},
      {{"check", tps, "--gpa", "converged"}, 0, "tarvolin-cli: converged in "},
      {{"check", dir.file("nosuch.tps")}, 2, "tarvolin-cli: " + dir.file("nosuch.tps") + ": "},
      {{"check", tps, "--x", dir.file("nosuch.csv") + ":mass"},
       2,
       "tarvolin-cli: " + dir.file("nosuch.csv") + ": cannot be read"},
      {{"check", tps, "--groups", examplePath("skulls_covariates.csv") + ":species"},
       2,
       "tarvolin-cli: " + examplePath("skulls_covariates.csv") +
           ":1: the table has no column \"species\"; its columns are \"mass\", \"group\""},
      {{"check", tps, "--x", dir.file("header.csv") + ":mass"},
       2,
       "tarvolin-cli: " + dir.file("header.csv") + ": the table has no rows below its header"},
      {{"check", tps, "--transform", "ln"}, 2, "tarvolin-cli: unknown option --transform"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words.back());
    const CliRun run = runCli(c.words);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.err.find(c.err), 0u) << run.err;
    if (c.status == 0) {
      EXPECT_EQ(run.out.empty(), c.words[2] == "-o") << run.out;
    }
  }
  const std::string written = readText(dir.file("report.txt"));
  EXPECT_EQ(written.find("Data check: skulls.tps, 40 specimens, 14 landmarks (3D)\n"), 0u)
      << written;
  EXPECT_EQ(written, runCli({"check", tps}).out);
  // An x list by order has no IDs to match: the report is the plain one.
  EXPECT_EQ(runCli({"check", tps, "--x", examplePath("skulls_mass.txt")}).out, written);
}

}  // namespace
}  // namespace tarvolin
