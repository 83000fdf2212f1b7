#pragma once
// The data check's report, as the command line's check prints it and the
// check window shows it: the figures of checkdata, each specimen's finding
// in words, the specimen IDs that repeat, and the IDs of covariate or group
// tables that match no specimen, and the specimens that have no row.
//
// data, dims: as checkdata takes them (superimposed, size column last).
// ids: the specimens' IDs in the data set's order (none: numbered 1, 2, ...
// as ZOR rows are; another count than the rows' is std::invalid_argument).
// file: the data set's name for the header. tables: the tables named for x
// or the groups (TABLE:COLUMN), each with the IDs of its rows, in its order,
// as read. curves: the curves checkdata tries reversed (reversiblecurves);
// plain: for data whose semilandmarks slid, the same superimposed without
// sliding, where checkdata judges the reversal (empty: in `data`).
//
// Findings in words (the numbers: distances to two significant digits, or
// more where two would show both distances of a sentence the same; sizes to
// four, the ratio to one decimal):
//   "skull_12: landmarks 3 and 9 look swapped (distance 0.41 -> 0.08)"
//   "skull_27 looks mirrored (distance 0.88 -> 0.09)"
//   "skull_8: curve 2 looks digitized backwards (distance 0.31 -> 0.12)"
//   "skull_5 lies far from the mean shape (distance 0.52, limit 0.21; landmark 7 the farthest)"
//   "skull_31: centroid size 412.6 is 9.8 times the median; wrong units?"
//   "skull_2: centroid size 4.126 is 1/9.8 of the median; wrong units?"
//   "skull_6: centroid size 30.16 is 1/1.4 of the median; small for this data set"
//   "skull_7: centroid size 63.33 is 1.5 times the median; large for this data set"
// (wrong units? where sizeinotherunits says so).
//   "skull_3 is the ID of 2 specimens (rows 3 and 17)"
//   "skull_99 has a row in ages.csv but no specimen"
//   "skull_4 has no row in ages.csv"
//   "mass.csv: skull_12 has 2 rows (lines 7 and 19)"
//   "mass.csv line 7: skull_12's mass is \"n/a\", not a number"
//   "mass.csv line 8: skull_13's mass is empty, not a number"
// findings lists them: the specimens' in rank order, then the IDs'.
//
// A specimen's findings are joined by "; " in specimenFinding. The tables
// are named by their file names in words; a file named twice counts once.
//
// text: the header lines, a blank line, tableHeader and tableRows (one line
// per specimen, in rank order: rank, ID, distance, outlier, farthest
// landmark, size, and its finding), a blank line and the findings (or
// "Nothing looks out of line."). csv: the same table, every number with
// every digit, in rank order, with the finding of each row:
//   rank,id,distance,limit,outlier,farthest_landmark,swap_a,swap_b,
//   swap_distance,mirrored,mirrored_distance,size,size_low,size_high,
//   size_outlier,finding,data
// (TRUE/FALSE, an empty field where a specimen has no value; swap_a and
// swap_b the best exchange of an outlier, a finding or not; mirrored TRUE
// where the finding names the mirror image). json: as
// tarvolin-cli check --json writes it, the table in the data set's order.
// Its fields say what the text says: swap and swap_distance, mirrored,
// backwards_curve, backwards_distance and backwards_from_distance (the
// distance the reversal was judged from: in the fit without sliding for
// slid data) name the cause the finding names (null or false otherwise);
// best_swap, best_swap_distance, best_curve,
// best_curve_distance and mirrored_distance are an outlier's best
// candidates, findings or not (null but for outliers); wrong_units is set
// where the text says "wrong units?"; finding is the row's findings. "ids"
// lists the repeated IDs and the table rows that match no specimen and the
// specimens with no row; "tables" the tables' repeated rows
// (table_repeats: file, id, lines) and values that are not numbers
// (table_not_numbers: file, line, id, column, value).
//
// The text shows IDs and file names as shownid and printable do (no
// control character reaches a terminal; an ID of more than 40 characters
// is cut, "..." its last three); the CSV and the JSON keep them whole.
//
// Example:
//   CheckReport r = checkreport(session.data(), 3, ids, "skulls.txt");
//   r.check.outOfLine()   // 2
//   outoflinestatus(r.check)   // "2 specimens look out of line: Check data..."

#include <Eigen/Core>
#include <string>
#include <vector>

#include "numerics/checkdata.h"

namespace tarvolin {

// A row of a table whose field of a covariate column is not a number.
struct TableValue {
  long line = 0;
  std::string id;
  std::string column;
  std::string value;
  bool operator==(const TableValue&) const = default;
};

// A table named for x or the groups: its file, its rows' IDs and lines
// (lines: one per ID), and the rows of x's column that are not numbers.
struct TableIds {
  std::string file;
  std::vector<std::string> ids;
  std::vector<long> lines = {};
  std::vector<TableValue> notNumbers = {};
};

// An ID on more than one row of a table, and its lines.
struct TableRepeat {
  std::string id;
  std::vector<long> lines;
  bool operator==(const TableRepeat&) const = default;
};

struct TableMismatch {
  std::string file;
  std::vector<std::string> tableOnly;         // rows that match no specimen, in the table's order
  std::vector<std::string> missingFromTable;  // specimens with no row, in the data set's order
  std::vector<TableRepeat> repeats = {};      // in the order of their first rows
  std::vector<TableValue> notNumbers = {};    // of every column named in the file, in order
};

struct IdFindings {
  std::vector<std::string> duplicates;  // IDs of more than one specimen, in order of first use
  std::vector<TableMismatch> tables;
};

struct CheckReport {
  DataCheck check;
  std::string file;
  std::vector<std::string> ids;
  IdFindings idFindings;
  std::vector<std::string> specimenFinding;  // in the data set's order; empty when none
  std::vector<std::string> findings;
  std::string tableHeader;
  std::vector<std::string> tableRows;  // in rank order
  std::string text;
  std::string csv;
  std::string json;
};

CheckReport checkreport(const Eigen::MatrixXd& data, int dims, std::vector<std::string> ids,
                        std::string file, const std::vector<TableIds>& tables = {},
                        const std::vector<std::vector<int>>& curves = {},
                        const Eigen::MatrixXd& plain = {});

// How many specimens the check finds out of line, in words: "3 specimens
// look out of line" ("1 specimen looks ..."), or empty when none does; and
// the status line's note after a load, those words and ": Check data...".
std::string outoflinecount(const DataCheck& check);
std::string outoflinestatus(const DataCheck& check);

}  // namespace tarvolin
