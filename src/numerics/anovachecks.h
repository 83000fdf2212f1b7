#pragma once
// The checks of a Procrustes ANOVA's input before any sum is made: one
// x value per specimen, 0 to 100,000 permutations, an x that varies, one
// group per specimen and two or more specimens in every group.
//
// n: the specimens (rows of y); design, permutations: as procrustesanova's.
// Throws InputError (no file: the caller adds it) naming what is wrong.
//
// Example:
//   checkanovainput(y.rows(), design, 999);

#include <Eigen/Core>

#include "numerics/procrustesanova.h"

namespace tarvolin {

void checkanovainput(Eigen::Index n, const AnovaDesign& design, int permutations);

}  // namespace tarvolin
