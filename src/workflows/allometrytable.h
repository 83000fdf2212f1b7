#pragma once
// The Procrustes ANOVA of shape on size as text: the table a user reads
// (allometrytable), the same as CSV (allometrycsv) and as JSON
// (allometryjson). One row per term, then Residuals and Total; columns Df,
// SS, MS, Rsq, F, Z and Pr(>F). Numbers are written the same in every locale.
//
// Example (allometrytable):
//              Df         SS          MS      Rsq       F       Z  Pr(>F)
//   size        1   0.0105934   0.0105934  0.41207  26.627  3.9841   0.001
//   Residuals  38   0.0151152  0.00039777
//   Total      39   0.0257086

#include <Eigen/Core>
#include <string>
#include <vector>

#include "numerics/procrustesanova.h"

namespace tarvolin {

// The cells of the table as text: a header row ("", "Df", "SS", ...), then
// the terms, Residuals and Total, empty where a row has no value.
std::vector<std::vector<std::string>> allometrycells(const ProcrustesAnova& anova);

std::string allometrytable(const ProcrustesAnova& anova);

// What a table was computed from, for the files that keep it beside the
// figures, so that a saved table can be told apart from another and redone.
struct AllometryRecord {
  std::string data;       // the data set's file name
  std::string x;          // "centroid size", or the file x was read from
  std::string transform;  // "none", "ln" or "log10"
  std::string groups;     // the groups' file name; empty without groups
  Eigen::Index specimens = 0;
  Eigen::Index landmarks = 0;
  std::string superimposition;  // how the data were superimposed
};

// Header line "term,Df,SS,MS,Rsq,F,Z,Pr(>F),data,x,transform,groups,
// permutations,seed", then a line per row (the terms, Residuals, Total),
// each ending in the record, so that the file stays one table for R's
// read.csv and for a spreadsheet. Every number is written with the digits
// that read back to the same double (not as the text table rounds it);
// NaN, Inf and -Inf as R writes them; empty fields where the table has no
// value. A text holding a comma, a quote, a semicolon, a tab, a line end or
// blanks at its ends is quoted, inner quotes doubled.
//   term,Df,SS,MS,Rsq,F,Z,Pr(>F),data,x,transform,groups,permutations,seed
//   size,1,0.039430886,0.039430886,0.6285,64.91,6.19,0.001,skulls.csv,centroid size,ln,,999,1
std::string allometrycsv(const ProcrustesAnova& anova, const AllometryRecord& record);

// {"terms": [{"term": "size", "df": 1, "ss": ..., "ms": ..., "rsq": ..., "f": ...,
// "z": ..., "p": ...}, ...], "residual": {"df", "ss", "ms"}, "total": {"df", "ss"},
// "permutations": N, "seed": S, "specimens": N, "landmarks": k, "superimposition": fit,
// "data": file, "x": what x is, "transform": "none"|"ln"|"log10", "groups": file or null}
// with numbers that are not finite written as null, and every finite number
// with the digits that read back to the same double.
std::string allometryjson(const ProcrustesAnova& anova, const AllometryRecord& record);

}  // namespace tarvolin
