#include <algorithm>
#include <cmath>
#include <functional>
#include <nlohmann/json.hpp>

#include "clitesting.h"
#include "core/sprintf.h"
#include "formats/landmarktext.h"
#include "formats/readlandmarks.h"
#include "formats/readrowtable.h"

namespace tarvolin {
namespace {

using testing::CliRun;
using testing::examplePath;
using testing::readText;
using testing::runCli;
using testing::TempDir;
using testing::writeText;

// The specimen of the example data, from 0, that a fault is planted in: a
// typical one (skull_24), near the middle of the distances.
constexpr Eigen::Index kPlanted = 23;

void swapLandmarks(LandmarkSet& set, int a, int b) {
  for (int axis = 0; axis < set.dims; ++axis) {
    std::swap(set.coords(kPlanted, (a - 1) * set.dims + axis),
              set.coords(kPlanted, (b - 1) * set.dims + axis));
  }
}

// The first coordinate reversed: the left/right or LPS/RAS mix-up.
void mirror(LandmarkSet& set) {
  for (Eigen::Index c = 0; c < set.coords.cols(); c += set.dims) set.coords(kPlanted, c) *= -1;
}

// Centimetres among millimetres: the coordinates and a size column given.
void timesTen(LandmarkSet& set) {
  set.coords.row(kPlanted) *= 10;
  set.size(kPlanted) *= 10;
}

// The figures as the words give them.
std::string distance(double value) { return sprintf("%.2g", value); }

// The median of the sizes: e to the median of their logarithms.
double sizeMedian(const nlohmann::json& table) {
  std::vector<double> logs;
  for (const auto& row : table) logs.push_back(std::log(row["size"].get<double>()));
  std::sort(logs.begin(), logs.end());
  const size_t n = logs.size();
  return std::exp(n % 2 ? logs[n / 2] : (logs[n / 2 - 1] + logs[n / 2]) / 2);
}

enum class Fault { none, swap, mirror, size, duplicate, tableOnly, noRow };

bool shape(Fault fault) { return fault == Fault::swap || fault == Fault::mirror; }

// The sentence that names the fault planted, from the figures of the JSON.
std::string sentenceFor(Fault fault, const nlohmann::json& report) {
  const nlohmann::json& row = report["table"][kPlanted];
  const std::string id = row["id"];
  switch (fault) {
    case Fault::none:
      return "Nothing looks out of line.";
    case Fault::swap:
      return sprintf("%s: landmarks %i and %i look swapped (distance %s -> %s)", id,
                     row["swap"][0].get<int>(), row["swap"][1].get<int>(),
                     distance(row["distance"]), distance(row["swap_distance"]));
    case Fault::mirror:
      return sprintf("%s looks mirrored (distance %s -> %s)", id, distance(row["distance"]),
                     distance(row["mirrored_distance"]));
    case Fault::size:
      return sprintf("%s: centroid size %.4g is %.1f times the median; wrong units?", id,
                     row["size"].get<double>(),
                     row["size"].get<double>() / sizeMedian(report["table"]));
    case Fault::duplicate:
      return sprintf("%s is the ID of 2 specimens (rows %i and %i)", id, kPlanted, kPlanted + 1);
    case Fault::tableOnly:
      return "skull_99 has a row in extra.csv but no specimen";
    case Fault::noRow:
      return "skull_07 has no row in short.csv";
  }
  return {};
}

// Each fault planted in the example data, 2D and 3D, is found, named in the
// report's words and in the JSON's fields, and is the only finding; the
// clean data give none; the status is 0 either way.
TEST(CliCheck, FindsEachPlantedFaultAndNothingInCleanData) {
  TempDir dir;
  // The example table with a row too many, and with one row left out.
  std::string covariates = readText(examplePath("skulls_covariates.csv"));
  writeText(dir.file("extra.csv"), covariates + "skull_99,20.5,a\n");
  const size_t seventh = covariates.find("skull_07,");
  covariates.erase(seventh, covariates.find('\n', seventh) + 1 - seventh);
  writeText(dir.file("short.csv"), covariates);
  const std::string x = dir.file("extra.csv") + ":mass";
  const std::string groups = dir.file("short.csv") + ":group";

  const struct {
    const char* name;
    std::string source;
    LandmarkFormat written;
    std::function<void(LandmarkSet&)> plant;
    Fault fault;
    std::vector<std::string> words;
  } cases[] = {
      {"2D clean", "skulls2d.tps", LandmarkFormat::tps, [](LandmarkSet&) {}, Fault::none, {}},
      {"3D clean",
       "skulls.tps",
       LandmarkFormat::tps,
       [](LandmarkSet&) {},
       Fault::none,
       {"--x", examplePath("skulls_covariates.csv") + ":mass"}},
      {"2D swap",
       "skulls2d.tps",
       LandmarkFormat::tps,
       [](LandmarkSet& s) { swapLandmarks(s, 3, 9); },
       Fault::swap,
       {}},
      {"3D swap",
       "skulls.csv",
       LandmarkFormat::csv,
       [](LandmarkSet& s) { swapLandmarks(s, 2, 12); },
       Fault::swap,
       {}},
      {"2D mirror", "skulls2d.tps", LandmarkFormat::tps, mirror, Fault::mirror, {}},
      {"3D mirror", "skulls.tps", LandmarkFormat::tps, mirror, Fault::mirror, {}},
      {"2D times 10, ZOR rows",
       "skulls2d.txt",
       LandmarkFormat::zor,
       timesTen,
       Fault::size,
       {"--dim", "2"}},
      {"3D times 10, size column", "skulls.csv", LandmarkFormat::csv, timesTen, Fault::size, {}},
      {"2D duplicate ID",
       "skulls2d.tps",
       LandmarkFormat::tps,
       [](LandmarkSet& s) { s.ids[kPlanted] = s.ids[kPlanted - 1]; },
       Fault::duplicate,
       {}},
      {"3D duplicate ID",
       "skulls.tps",
       LandmarkFormat::tps,
       [](LandmarkSet& s) { s.ids[kPlanted] = s.ids[kPlanted - 1]; },
       Fault::duplicate,
       {}},
      {"2D table row without a specimen",
       "skulls2d.tps",
       LandmarkFormat::tps,
       [](LandmarkSet&) {},
       Fault::tableOnly,
       {"--x", x}},
      {"3D specimen without a row",
       "skulls.tps",
       LandmarkFormat::tps,
       [](LandmarkSet&) {},
       Fault::noRow,
       {"--groups", groups}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ReadOptions options;
    if (c.source == "skulls2d.txt") options.dims = 2;
    LandmarkSet set = readlandmarks(examplePath(c.source), std::nullopt, options);
    const std::vector<std::string> asRead = set.ids;
    c.plant(set);
    const std::string data =
        dir.file(std::string("planted.") + (c.written == LandmarkFormat::csv   ? "csv"
                                            : c.written == LandmarkFormat::tps ? "tps"
                                                                               : "txt"));
    // The writers refuse an ID given twice, which TPS files met in the
    // field hold: the ID is changed in the text written.
    LandmarkSet written = set;
    written.ids = asRead;
    std::string file = landmarktext(written, c.written, std::nullopt, ZorDigits::exact);
    for (size_t i = 0; i < asRead.size(); ++i) {
      if (asRead[i] == set.ids[i]) continue;
      const size_t at = file.find("ID=" + asRead[i] + "\n");
      ASSERT_NE(at, std::string::npos);
      file.replace(at, asRead[i].size() + 3, "ID=" + set.ids[i]);
    }
    writeText(data, file);

    std::vector<std::string> words = {"check", data};
    words.insert(words.end(), c.words.begin(), c.words.end());
    const CliRun text = runCli(words);
    words.push_back("--json");
    const CliRun json = runCli(words);
    ASSERT_EQ(text.status, 0) << text.err;
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json report = nlohmann::json::parse(json.out);

    // The planted fault's sentence opens the findings: its specimen lies
    // farthest, or nothing else is found.
    const std::string sentence = sentenceFor(c.fault, report);
    EXPECT_NE(text.out.find("\n\n" + sentence + "\n"), std::string::npos) << sentence << "\n"
                                                                          << text.out;

    EXPECT_EQ(report["file"], std::string("planted") + data.substr(data.rfind('.')));
    EXPECT_EQ(report["specimens"], 40);
    EXPECT_EQ(report["landmarks"], 14);
    EXPECT_EQ(report["dimension"], set.dims);
    const double limit = report["limit"].get<double>();
    const nlohmann::json& planted = report["table"][kPlanted];
    // A specimen far out moves the mean shape, and with it the distances of
    // the others: one of them may cross the limit, but no cause is
    // ascribed to it.
    for (Eigen::Index i = 0; i < 40; ++i) {
      const nlohmann::json& row = report["table"][i];
      EXPECT_EQ(row["id"], set.ids[static_cast<size_t>(i)]);
      if (i == kPlanted) continue;
      EXPECT_FALSE(row["size_outlier"]) << row.dump();
      EXPECT_FALSE(row["mirrored"]) << row.dump();
      EXPECT_TRUE(!row["outlier"] || row["swap_distance"].get<double>() >= limit) << row.dump();
      EXPECT_TRUE(!row["outlier"] || shape(c.fault)) << row.dump();
    }
    EXPECT_EQ(planted["outlier"], shape(c.fault)) << planted.dump();
    EXPECT_EQ(planted["size_outlier"], c.fault == Fault::size) << planted.dump();
    EXPECT_EQ(planted["mirrored"], c.fault == Fault::mirror) << planted.dump();
    EXPECT_EQ(planted["swap"].is_null(), !shape(c.fault)) << planted.dump();
    EXPECT_EQ(planted["swap_distance"].is_null(), !shape(c.fault)) << planted.dump();
    EXPECT_EQ(planted["mirrored_distance"].is_null(), !shape(c.fault)) << planted.dump();
    if (shape(c.fault)) {
      EXPECT_EQ(planted["rank"], 1);
    }
    if (c.fault == Fault::swap) {
      const int a = c.source == "skulls.csv" ? 2 : 3;
      const int b = c.source == "skulls.csv" ? 12 : 9;
      EXPECT_EQ(planted["swap"], nlohmann::json({a, b}));
      EXPECT_LT(planted["swap_distance"].get<double>(), limit);
    }
    if (c.fault == Fault::mirror) {
      EXPECT_LT(planted["mirrored_distance"].get<double>(), limit);
    }
    const nlohmann::json& ids = report["ids"];
    EXPECT_EQ(ids["duplicates"], c.fault == Fault::duplicate ? nlohmann::json({set.ids[kPlanted]})
                                                             : nlohmann::json::array());
    EXPECT_EQ(ids["table_only"],
              c.fault == Fault::tableOnly ? nlohmann::json({"skull_99"}) : nlohmann::json::array());
    EXPECT_EQ(ids["missing_from_table"],
              c.fault == Fault::noRow ? nlohmann::json({"skull_07"}) : nlohmann::json::array());
  }
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
    const nlohmann::json report = nlohmann::json::parse(check.out);

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
