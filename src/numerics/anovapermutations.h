#pragma once
// The permutation test of one term of a Procrustes ANOVA by randomized
// residuals: the residuals of the model of the terms before it are permuted
// among specimens, added to that model's fitted values, and the model with
// every term is fitted again, once per shuffle. Shuffle r is the r-th
// Fisher-Yates shuffle of 0 ... N - 1 drawn from std::mt19937_64 seeded
// with `seed` (procrustesanova.h), so every term gets the same ones.
//
// model, sums: anovadesign's and anovasums'; term: one of model.terms;
// row: that term's row of sums.table, whose p and z are set: p = (count of
// F at least the observed, the observed included) / (permutations + 1),
// Z = (log F - mean log F) / sd log F over the permuted F and the observed.
// The shuffles are shared out over every core; each F depends on its own
// shuffle only, so the result is the same on any number of cores.
//
// Example:
//   permutationtest(model, sums, model.terms[0], 999, 1, sums.table.terms[0]);

#include <cstdint>

#include "numerics/anovadesign.h"
#include "numerics/anovasums.h"

namespace tarvolin {

void permutationtest(const AnovaModel& model, const AnovaSums& sums, const TermColumns& term,
                     int permutations, std::uint64_t seed, AnovaTerm& row);

}  // namespace tarvolin
