// The data check's report: its words, its ID findings, its table, CSV and
// JSON.
#include "workflows/checkreport.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "core/console.h"
#include "core/csvtext.h"
#include "formats/delimitedtext.h"
#include "formats/dload.h"
#include "numerics/superimposedataset.h"
#include "tests/testing.h"
#include "workflows/checkreportparts.h"

namespace tarvolin {
namespace {

using testing::examplePath;

// A specimen's figures as checkdata leaves them, for the words alone.
SpecimenCheck specimen(double distance, bool outlier, double size, bool sizeOutlier) {
  SpecimenCheck s;
  s.distance = distance;
  s.outlier = outlier;
  s.farthestLandmark = 7;
  s.size = size;
  s.sizeOutlier = sizeOutlier;
  return s;
}

// Each finding in the words the report gives it, from the figures: the
// cause that brings the specimen back below the limit (the nearer of two),
// else how far it lies; a size out of line at either end.
TEST(CheckReport, NamesEachFindingInWords) {
  auto swapped = [](double to) {
    SpecimenCheck s = specimen(0.41, true, 30, false);
    s.swap = std::array<int, 2>{3, 9};
    s.swapDistance = to;
    s.swapped = to < 0.21;  // the limit of these figures
    s.mirroredDistance = 0.5;
    return s;
  };
  auto mirrored = [](SpecimenCheck s, double to) {
    s.mirrored = true;
    s.mirroredDistance = to;
    return s;
  };
  auto backwards = [](SpecimenCheck s, double to) {
    s.curve = 2;
    s.curveDistance = to;
    s.curveFrom = s.distance;
    s.reversed = true;
    return s;
  };
  const struct {
    SpecimenCheck figures;
    std::vector<std::string> words;
  } cases[] = {
      {specimen(0.05, false, 30, false), {}},
      {swapped(0.081), {"skull_12: landmarks 3 and 9 look swapped (distance 0.41 -> 0.081)"}},
      {swapped(0.3),
       {"skull_12 lies far from the mean shape (distance 0.41, limit 0.21; landmark 7 the "
        "farthest)"}},
      {mirrored(specimen(0.88, true, 30, false), 0.09),
       {"skull_12 looks mirrored (distance 0.88 -> 0.09)"}},
      {mirrored(swapped(0.1), 0.09), {"skull_12 looks mirrored (distance 0.41 -> 0.09)"}},
      {mirrored(swapped(0.08), 0.09),
       {"skull_12: landmarks 3 and 9 look swapped (distance 0.41 -> 0.08)"}},
      {specimen(0.21016, true, 30, false),
       {"skull_12 lies far from the mean shape (distance 0.2102, limit 0.21; landmark 7 the "
        "farthest)"}},
      {specimen(0.05, false, 412.6, true),
       {"skull_12: centroid size 412.6 is 9.8 times the median; wrong units?"}},
      {specimen(0.05, false, 4.126, true),
       {"skull_12: centroid size 4.126 is 1/10.2 of the median; wrong units?"}},
      {specimen(0.05, false, 0, true), {"skull_12: centroid size 0 is not a positive number"}},
      {backwards(specimen(0.31, true, 30, false), 0.12),
       {"skull_12: curve 2 looks digitized backwards (distance 0.31 -> 0.12)"}},
      {backwards(swapped(0.08), 0.05),
       {"skull_12: curve 2 looks digitized backwards (distance 0.41 -> 0.05)"}},
      {backwards(swapped(0.05), 0.08),
       {"skull_12: landmarks 3 and 9 look swapped (distance 0.41 -> 0.05)"}},
      {specimen(0.05, false, 59.108, true),
       {"skull_12: centroid size 59.11 is 1.4 times the median; large for this data set"}},
      {specimen(0.05, false, 30.157, true),
       {"skull_12: centroid size 30.16 is 1/1.4 of the median; small for this data set"}},
      {specimen(0.05, false, 83.1734, true),
       {"skull_12: centroid size 83.17 is 1.97 times the median; large for this data set"}},
      {specimen(0.05, false, 42.22 / 2.54, true),
       {"skull_12: centroid size 16.62 is 1/2.5 of the median; wrong units?"}},
      {specimen(0.52, true, 41260, true),
       {"skull_12 lies far from the mean shape (distance 0.52, limit 0.21; landmark 7 the "
        "farthest)",
        "skull_12: centroid size 41260 is 977.3 times the median; wrong units?"}},
  };
  for (const auto& c : cases) {
    DataCheck check;
    check.limit = 0.21;
    check.sizeMedian = 42.22;
    check.specimens = {c.figures};
    EXPECT_EQ(checkspecimenwords(check, {"skull_12"}).front(), c.words);
  }
}

// Repeated IDs, and the rows of each table that match no specimen and the
// specimens with no row, each listed once and in order, in the figures and
// in words; a table given twice counts once.
TEST(CheckReport, FindsIdsThatRepeatOrMatchNoRow) {
  const std::vector<std::string> ids = {"a", "b", "a", "c", "d", "a", "b"};
  const struct {
    std::vector<TableIds> tables;
    std::vector<std::string> duplicates;
    std::vector<TableMismatch> mismatches;
    std::vector<std::string> words;
  } cases[] = {
      // x and the groups of one table: its rows count once; x's values
      // that are not numbers and its repeated rows are findings.
      {{{"/data/mass.csv",
         {"a", "b", "a", "c", "z", "a"},
         {2, 3, 4, 5, 6, 9},
         {{5, "c", "mass", "n/a"}, {6, "z", "mass", ""}}},
        {"/data/mass.csv", {"a", "b", "a", "c", "z", "a"}, {2, 3, 4, 5, 6, 9}, {}}},
       {"a", "b"},
       {{"/data/mass.csv",
         {"z"},
         {"d"},
         {{"a", {2, 4, 9}}},
         {{5, "c", "mass", "n/a"}, {6, "z", "mass", ""}}}},
       {"a is the ID of 3 specimens (rows 1, 3 and 6)", "b is the ID of 2 specimens (rows 2 and 7)",
        "mass.csv: a has 3 rows (lines 2, 4 and 9)",
        "mass.csv line 5: c's mass is \"n/a\", not a number",
        "mass.csv line 6: z's mass is empty, not a number",
        "z has a row in mass.csv but no specimen", "d has no row in mass.csv"}},
      {{},
       {"a", "b"},
       {},
       {"a is the ID of 3 specimens (rows 1, 3 and 6)",
        "b is the ID of 2 specimens (rows 2 and 7)"}},
      {{{"/data/ages.csv", {"d", "c", "b", "a"}}},
       {"a", "b"},
       {{"/data/ages.csv", {}, {}}},
       {"a is the ID of 3 specimens (rows 1, 3 and 6)",
        "b is the ID of 2 specimens (rows 2 and 7)"}},
      {{{"/data/ages.csv", {"z", "a", "y"}}, {"/data/ages.csv", {"z", "a", "y"}}, {"s.csv", {}}},
       {"a", "b"},
       {{"/data/ages.csv", {"z", "y"}, {"b", "c", "d"}}, {"s.csv", {}, {"a", "b", "c", "d"}}},
       {"a is the ID of 3 specimens (rows 1, 3 and 6)", "b is the ID of 2 specimens (rows 2 and 7)",
        "z has a row in ages.csv but no specimen", "y has a row in ages.csv but no specimen",
        "b has no row in ages.csv", "c has no row in ages.csv", "d has no row in ages.csv",
        "a has no row in s.csv", "b has no row in s.csv", "c has no row in s.csv",
        "d has no row in s.csv"}},
  };
  for (const auto& c : cases) {
    const IdFindings found = checkids(ids, c.tables);
    EXPECT_EQ(found.duplicates, c.duplicates);
    ASSERT_EQ(found.tables.size(), c.mismatches.size());
    for (size_t t = 0; t < c.mismatches.size(); ++t) {
      EXPECT_EQ(found.tables[t].file, c.mismatches[t].file);
      EXPECT_EQ(found.tables[t].tableOnly, c.mismatches[t].tableOnly);
      EXPECT_EQ(found.tables[t].missingFromTable, c.mismatches[t].missingFromTable);
      EXPECT_EQ(found.tables[t].repeats, c.mismatches[t].repeats);
      EXPECT_EQ(found.tables[t].notNumbers, c.mismatches[t].notNumbers);
    }
    EXPECT_EQ(checkidwords(found, ids), c.words);
  }
}

TEST(CheckReport, WritesNumbersToTheirDigitsInEveryLocale) {
  const struct {
    double value;
    int digits;
    const char* text;
  } cases[] = {
      {0.4137, 2, "0.41"},   {0.08, 2, "0.08"},       {412.63, 4, "412.6"},
      {41260.2, 4, "41260"}, {1.5e-12, 2, "1.5e-12"}, {2e20, 4, "2e+20"},
      {NAN, 4, "NaN"},       {-INFINITY, 4, "-Inf"},  {0, 4, "0"},
  };
  for (const auto& c : cases) EXPECT_EQ(checknumber(c.value, c.digits), c.text) << c.value;
}

TEST(CheckReport, StatusLineCountsTheSpecimensOutOfLine) {
  const struct {
    std::vector<std::pair<bool, bool>> flags;  // outlier, size out of line
    const char* count;
    const char* status;
  } cases[] = {
      {{{false, false}, {false, false}}, "", ""},
      {{{true, false}, {false, false}},
       "1 specimen looks out of line",
       "1 specimen looks out of line: Check data..."},
      {{{true, true}, {false, true}, {true, false}},
       "3 specimens look out of line",
       "3 specimens look out of line: Check data..."},
  };
  for (const auto& c : cases) {
    DataCheck check;
    for (const auto& [outlier, size] : c.flags)
      check.specimens.push_back(specimen(0, outlier, 1, size));
    EXPECT_EQ(outoflinecount(check), c.count);
    EXPECT_EQ(outoflinestatus(check), c.status);
  }
}

// IDs and file names as a Latin-1 file spells them are not UTF-8: the text
// keeps their bytes, the JSON replaces the odd ones instead of failing.
TEST(CheckReport, IdsThatAreNotUtf8StillGiveAReport) {
  const Eigen::MatrixXd data =
      superimposedataset(dload(examplePath("skulls_zor.txt")), consoleSink()).data;
  std::vector<std::string> ids;
  for (int i = 1; i <= 40; ++i)
    ids.push_back(
        "Sch\xe4"
        "del_" +
        std::to_string(i));
  const CheckReport report = checkreport(data, 3, ids,
                                         "Sch\xe4"
                                         "del.txt");
  // The text shows the odd byte as an escape, so that no terminal takes it
  // for the start of a control sequence.
  EXPECT_NE(report.text.find("Sch\\xe4del_12 "), std::string::npos) << report.text;
  EXPECT_NE(report.json.find("\"Sch\xef\xbf\xbd"
                             "del_12\""),
            std::string::npos)
      << report.json;
}

// IDs from a file reach the terminal as text: control characters escaped,
// a very long ID cut in the text (every row of the table would be as wide),
// and every ID whole in the CSV and the JSON.
TEST(CheckReport, TextShowsIdsSafelyAndShortCsvAndJsonWhole) {
  const Eigen::MatrixXd data =
      superimposedataset(dload(examplePath("skulls_zor.txt")), consoleSink()).data;
  std::vector<std::string> ids;
  for (int i = 1; i <= 40; ++i) ids.push_back("s" + std::to_string(i));
  const std::string longId(200000, 'a');
  ids[0] = "skull\x1b]0;title\x07";
  ids[1] = longId;
  ids[2] = ids[3] = "dup\x1b[31m";
  const CheckReport report = checkreport(data, 3, ids, "odd\x1b.txt");
  for (const std::string* text : {&report.text, &report.tableHeader}) {
    EXPECT_EQ(text->find_first_of("\x1b\x07"), std::string::npos) << *text;
  }
  EXPECT_LT(report.text.size(), 20000u);
  EXPECT_EQ(report.text.find("Data check: odd\\e.txt, 40 specimens"), 0u) << report.text;
  EXPECT_NE(report.text.find("skull\\e]0;title\\x07"), std::string::npos) << report.text;
  EXPECT_NE(report.text.find(" " + std::string(37, 'a') + "... "), std::string::npos);
  EXPECT_EQ(report.text.find(std::string(38, 'a')), std::string::npos);
  EXPECT_NE(report.text.find("dup\\e[31m is the ID of 2 specimens (rows 3 and 4)"),
            std::string::npos)
      << report.text;
  EXPECT_NE(report.csv.find("," + longId + ","), std::string::npos);
  const nlohmann::json json = nlohmann::json::parse(report.json);
  EXPECT_EQ(json["table"][0]["id"], ids[0]);
  EXPECT_EQ(json["table"][1]["id"], longId);
}

// The JSON's swap, mirrored and backwards_curve name a cause where the text
// does, and only there; the best candidates of an outlier are kept apart.
TEST(CheckReport, JsonNamesACauseOnlyWhereTheTextDoes) {
  SpecimenCheck candidates = specimen(0.41, true, 30, false);
  candidates.swap = std::array<int, 2>{3, 9};
  candidates.swapDistance = 0.3;
  candidates.mirroredDistance = 0.5;
  candidates.curve = 2;
  candidates.curveDistance = 0.35;
  SpecimenCheck swapped = candidates, mirrored = candidates, reversed = candidates;
  swapped.swapDistance = 0.08;
  swapped.swapped = true;
  mirrored.mirroredDistance = 0.09;
  mirrored.mirrored = mirrored.swapped = true;
  mirrored.swapDistance = 0.1;
  reversed.curveDistance = 0.12;
  reversed.reversed = true;
  SpecimenCheck units = specimen(0.05, false, 412.6, true);
  units.wrongUnits = true;
  const nlohmann::json null;
  const struct {
    SpecimenCheck figures;
    nlohmann::json swap, mirrored, curve, wrongUnits;
  } cases[] = {
      {candidates, null, false, null, false},
      {swapped, {3, 9}, false, null, false},
      {mirrored, null, true, null, false},
      {reversed, null, false, 2, false},
      {specimen(0.05, false, 59.108, true), null, false, null, false},
      {units, null, false, null, true},
  };
  for (const auto& c : cases) {
    CheckReport report;
    report.check.limit = 0.21;
    report.check.sizeMedian = 42.22;
    report.check.specimens = {c.figures};
    report.check.byRank = {0};
    report.ids = {"skull_12"};
    const nlohmann::json row = nlohmann::json::parse(checkjson(report))["table"][0];
    EXPECT_EQ(row["swap"], c.swap) << row.dump();
    EXPECT_EQ(row["mirrored"], c.mirrored) << row.dump();
    EXPECT_EQ(row["backwards_curve"], c.curve) << row.dump();
    EXPECT_EQ(row["wrong_units"], c.wrongUnits) << row.dump();
    EXPECT_EQ(row["best_swap"], c.figures.outlier ? nlohmann::json({3, 9}) : null) << row.dump();
    EXPECT_EQ(row["best_curve"], c.figures.outlier ? nlohmann::json(2) : null) << row.dump();
    std::string finding;
    const std::vector<std::vector<std::string>> words =
        checkspecimenwords(report.check, report.ids);
    for (const std::string& w : words.front()) {
      finding += (finding.empty() ? "" : "; ") + w;
    }
    EXPECT_EQ(row["finding"], finding);
  }
}

// The whole report of the example data with two landmarks of one specimen
// exchanged: the header, the table in rank order, the findings, and the
// CSV and JSON of the same figures; a data set without IDs is numbered.
TEST(CheckReport, TextCsvAndJsonTellTheSameFigures) {
  Eigen::MatrixXd rows = dload(examplePath("skulls_zor.txt"));
  for (int axis = 0; axis < 3; ++axis) std::swap(rows(4, 3 + axis), rows(4, 30 + axis));
  const Eigen::MatrixXd data = superimposedataset(rows, consoleSink()).data;
  const CheckReport report = checkreport(data, 3, {}, "skulls_zor.txt");

  ASSERT_EQ(report.ids.size(), 40u);
  EXPECT_EQ(report.ids[4], "5");
  const SpecimenCheck& planted = report.check.specimens[4];
  ASSERT_TRUE(planted.outlier);
  EXPECT_EQ(report.text.find("Data check: skulls_zor.txt, 40 specimens, 14 landmarks (3D)\n"), 0u)
      << report.text;
  EXPECT_EQ(report.findings.front(), report.specimenFinding[4]);
  EXPECT_NE(report.specimenFinding[4].find("5: landmarks 2 and 11 look swapped"), std::string::npos)
      << report.specimenFinding[4];
  EXPECT_TRUE(report.text.ends_with("\n\n" + report.findings.front() + "\n")) << report.text;
  ASSERT_EQ(report.tableRows.size(), 40u);
  EXPECT_EQ(report.tableHeader.find("rank  ID  distance  outlier  farthest landmark"), 0u)
      << report.tableHeader;
  EXPECT_EQ(report.tableRows[0].find("   1  5 "), 0u) << report.tableRows[0];
  EXPECT_NE(report.text.find(report.tableHeader + "\n" + report.tableRows[0] + "\n"),
            std::string::npos);

  // The CSV read back as a table: each column of the first row (the
  // planted specimen) by its header's name, and the size limits in order.
  EXPECT_EQ(std::count(report.csv.begin(), report.csv.end(), '\n'), 41);
  std::vector<std::vector<std::string>> table;
  detail::DelimitedText csv(report.csv, ',', "check.csv");
  while (csv.nextLine()) {
    table.emplace_back();
    detail::DelimitedText::Field field;
    while (csv.nextField(field)) table.back().push_back(field.value());
  }
  ASSERT_EQ(table.size(), 41u);
  const auto cell = [&](size_t row, const std::string& name) {
    const auto at = std::find(table[0].begin(), table[0].end(), name);
    return at == table[0].end() ? "(no column " + name + ")"
                                : table[row].at(static_cast<size_t>(at - table[0].begin()));
  };
  const double low = report.check.sizeLimits[0], high = report.check.sizeLimits[1];
  ASSERT_LT(low, high);
  const std::pair<const char*, std::string> columns[] = {
      {"rank", "1"},
      {"id", "5"},
      {"distance", csvnumber(planted.distance)},
      {"limit", csvnumber(report.check.limit)},
      {"outlier", "TRUE"},
      {"farthest_landmark", std::to_string(planted.farthestLandmark)},
      {"swap_a", "2"},
      {"swap_b", "11"},
      {"swap_distance", csvnumber(*planted.swapDistance)},
      {"mirrored", "FALSE"},
      {"mirrored_distance", csvnumber(*planted.mirroredDistance)},
      {"size", csvnumber(planted.size)},
      {"size_low", csvnumber(low)},
      {"size_high", csvnumber(high)},
      {"size_outlier", planted.sizeOutlier ? "TRUE" : "FALSE"},
      {"finding", report.specimenFinding[4]},
      {"data", "skulls_zor.txt"},
  };
  EXPECT_EQ(table[0].size(), std::size(columns));
  for (const auto& [name, value] : columns) EXPECT_EQ(cell(1, name), value) << name;

  const nlohmann::json json = nlohmann::json::parse(report.json);
  EXPECT_EQ(json["table"].size(), 40u);
  EXPECT_EQ(json["table"][4]["distance"].get<double>(), planted.distance);
  EXPECT_EQ(json["table"][4]["swap"], nlohmann::json({2, 11}));
  EXPECT_EQ(json["table"][4]["best_swap"], nlohmann::json({2, 11}));
  EXPECT_EQ(json["table"][4]["finding"], report.specimenFinding[4]);
  EXPECT_EQ(json["quartiles"][2].get<double>(), report.check.quartiles[2]);
  EXPECT_EQ(json["size_limits"][0].get<double>(), report.check.sizeLimits[0]);
  EXPECT_EQ(json["ids"]["duplicates"], nlohmann::json::array());
}

}  // namespace
}  // namespace tarvolin
