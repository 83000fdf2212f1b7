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
// as read.
//
// Findings in words (the numbers: distances to two significant digits, or
// more where two would show both distances of a sentence the same; sizes to
// four, the ratio to one decimal):
//   "skull_12: landmarks 3 and 9 look swapped (distance 0.41 -> 0.08)"
//   "skull_27 looks mirrored (distance 0.88 -> 0.09)"
//   "skull_5 lies far from the mean shape (distance 0.52, limit 0.21; landmark 7 the farthest)"
//   "skull_31: centroid size 412.6 is 9.8 times the median; wrong units?"
//   "skull_2: centroid size 4.126 is 1/9.8 of the median; wrong units?"
//   "skull_3 is the ID of 2 specimens (rows 3 and 17)"
//   "skull_99 has a row in ages.csv but no specimen"
//   "skull_4 has no row in ages.csv"
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
// (TRUE/FALSE, an empty field where a specimen has no value). json: as
// tarvolin-cli check --json writes it (the table in the data set's order;
// swap, swap_distance and mirrored_distance null but for outliers).
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

// A table named for x or the groups: its file and its rows' IDs.
struct TableIds {
  std::string file;
  std::vector<std::string> ids;
};

struct TableMismatch {
  std::string file;
  std::vector<std::string> tableOnly;         // rows that match no specimen, in the table's order
  std::vector<std::string> missingFromTable;  // specimens with no row, in the data set's order
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
                        std::string file, const std::vector<TableIds>& tables = {});

// The status line's note after a load: "3 specimens look out of line: Check
// data..." ("1 specimen looks ..."), or empty when none does.
std::string outoflinestatus(const DataCheck& check);

}  // namespace tarvolin
