#pragma once
// The model of a Procrustes ANOVA: the design's columns, intercept first,
// then size (x), the group indicators of groups 2 ... and, with the
// interaction, x times each indicator; and the orthonormal basis q of those
// columns, nested (its first j columns span the first j of the design), so
// that the sequential sums of squares of the terms are those of blocks of
// q^T y.
//
// design: as procrustesanova's, already checked (checkanovainput); n the
//         specimens.
// Returns the terms with their columns and q, n x columns.
// Throws InputError for more parameters than the specimens allow, or terms
// that are not independent.
//
// Example:
//   AnovaModel model = anovadesign(design, y.rows());
//   // model.terms[0]: {"size", 1, 2}

#include <Eigen/Core>
#include <vector>

#include "numerics/procrustesanova.h"

namespace tarvolin {

// The columns [first, last) of the design that belong to one term.
struct TermColumns {
  const char* name;
  Eigen::Index first, last;
};

struct AnovaModel {
  std::vector<TermColumns> terms;
  Eigen::MatrixXd q;
};

AnovaModel anovadesign(const AnovaDesign& design, Eigen::Index n);

}  // namespace tarvolin
