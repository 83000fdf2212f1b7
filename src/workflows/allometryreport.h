#pragma once
// The allometry report of a workflow window: the Procrustes ANOVA of the
// data set's shape on x, as the command line's allometry prints it, and the
// regression score of each specimen, to plot against x.
//
// data: N x (d k + 1), one specimen per row, its size in the last column
//    (left out of the analysis). x: the x-variable as regressed, N values.
// xvariable says what x is (its source and transform; "ln of centroid size"
// in the text), file names the data set,
// dims is 2 or 3, superimposition says how the rows were superimposed.
// groups: each specimen's group, when a group table was loaded; with more
// than one group the ANOVA has the group and the size:group terms too
// (whether the groups share one slope), and the first header line ends with
// ", 2 groups from FILE", as the command line's allometry --groups
// --interaction writes it. One group, or none, is the plain regression.
// The p-values come from kAllometryPermutations permutations drawn with
// kAllometrySeed, as the command line draws them by default, so the window
// and the command line give the same figures for the same data and x; the
// command line passes its own in `asked` (and whether to add size:group).
// The command line's report is this one, so the two never differ. The CSV
// and the JSON keep beside the figures, at full precision, what they were
// computed from: the data file, x, its transform, the groups' file, the
// permutations and the seed (see allometrytable.h).
//
// Throws InputError (no file: the caller knows it) when x has not one value
// per specimen, and whatever procrustesanova refuses (an x with one value
// for every specimen, for instance); what it refuses about the groups (a
// group of one specimen, groups not of one per specimen) names the groups'
// file.
//
// Example:
//   AllometryReport r = allometryreport(DATA, FXLIST.col(0), {"centroid size", "ln"},
//                                       "skulls_zor.txt", 3, kAllometryFit3D);
//   r.text   // "Procrustes ANOVA of shape on ln of centroid size: skulls_zor.txt, 40 ..."
//   allometryreport(DATA, x, {"centroid size", "ln"}, "skulls.csv", 3, kAllometryFit3D,
//                   readgroups("skulls_covariates.csv:group", ids)).anova.terms.size()  // 3

#include <Eigen/Core>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "formats/readgroups.h"
#include "numerics/procrustesanova.h"
#include "numerics/regressionscore.h"
#include "workflows/allometrytable.h"

namespace tarvolin {

inline constexpr int kAllometryPermutations = 999;
inline constexpr std::uint64_t kAllometrySeed = 1;
// How each workflow's data set was superimposed, for the report's second line.
inline constexpr std::string_view kAllometryFit3D = "3 rounds, as the standardization is defined";
inline constexpr std::string_view kAllometryFit2D = "none, the rows are used as read";

// What x is: where its values come from and how they were transformed.
struct AllometryX {
  std::string source;              // "centroid size", or the file of the x list or table
  std::string transform = "none";  // "none", "ln" or "log10"
};

struct AllometryReport {
  std::string text;  // the two header lines, a blank line and the table
  std::string csv;   // the table as CSV, with the record of its inputs
  std::string json;  // the same as JSON
  AllometryRecord record;
  ProcrustesAnova anova;
  Eigen::VectorXd x;      // the x-variable as regressed
  RegressionScore score;  // each specimen's score and the line fitted to them
  std::string file;       // the data set's name
  std::string xname;      // what x is
};

struct AllometryAsked {
  int permutations = kAllometryPermutations;
  std::uint64_t seed = kAllometrySeed;
  bool interaction = true;  // with groups: the size:group term too
};

AllometryReport allometryreport(const Eigen::MatrixXd& data, const Eigen::VectorXd& x,
                                const AllometryX& xvariable, const std::string& file, int dims,
                                std::string_view superimposition,
                                const std::optional<SpecimenGroups>& groups = std::nullopt,
                                const AllometryAsked& asked = {});

}  // namespace tarvolin
