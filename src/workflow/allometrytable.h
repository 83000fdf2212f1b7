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

#include "geometry/procrustesanova.h"

namespace tarvolin {

// The cells of the table as text: a header row ("", "Df", "SS", ...), then
// the terms, Residuals and Total, empty where a row has no value.
std::vector<std::vector<std::string>> allometrycells(const ProcrustesAnova& anova);

std::string allometrytable(const ProcrustesAnova& anova);

// Header line "term,Df,SS,MS,Rsq,F,Z,Pr(>F)", then a line per row; empty
// fields where the table has none.
std::string allometrycsv(const ProcrustesAnova& anova);

// {"terms": [{"term": "size", "df": 1, "ss": ..., "ms": ..., "rsq": ..., "f": ...,
// "z": ..., "p": ...}, ...], "residual": {"df", "ss", "ms"}, "total": {"df", "ss"},
// "permutations": N, "seed": S, "specimens": N, "landmarks": k, "superimposition": fit}
// with numbers that are not finite written as null.
std::string allometryjson(const ProcrustesAnova& anova, Eigen::Index specimens,
                          Eigen::Index landmarks, const std::string& fit);

}  // namespace tarvolin
