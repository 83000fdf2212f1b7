#pragma once
// The sequential (type I) sums of squares of a Procrustes ANOVA, over all
// coordinates: with y centred and c = q^T y, the SS of a term is the squared
// norm of its rows of c, the residual SS that of y - q c, the total SS that
// of y; MS = SS / Df, Rsq = SS / total SS, F = MS / residual MS.
//
// y: N x (d k), one specimen per row; model: anovadesign's.
// Returns the table without p and Z (permutations and seed left at 0), and
// the centred y and c, which the permutations start from.
//
// Example:
//   AnovaSums sums = anovasums(y, anovadesign(design, y.rows()));
//   sums.table.terms[0].ss

#include <Eigen/Core>

#include "numerics/anovadesign.h"
#include "numerics/procrustesanova.h"

namespace tarvolin {

struct AnovaSums {
  ProcrustesAnova table;
  Eigen::MatrixXd centred;
  Eigen::MatrixXd c;
};

AnovaSums anovasums(const Eigen::Ref<const Eigen::MatrixXd>& y, const AnovaModel& model);

}  // namespace tarvolin
