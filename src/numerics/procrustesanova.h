#pragma once
// Procrustes ANOVA of shape on size: how much of the shape variation of a
// superimposed data set the x-variable explains, whether that is more than
// chance, and, with groups, whether the groups differ in shape and in their
// slope on x.
//
// y: N x (d k), the superimposed coordinates, one specimen per row (the data
//    set without its size column).
// design.x: the x-variable on the regression's scale (transformed), N values.
// design.groupOf: empty for one group, else the group of each specimen,
//    0 to groups - 1; design.groupNames name them in messages.
// design.interaction: adds the size:group term (different slopes).
//
// The model's terms, in order: size (x), group (groups - 1 indicator columns
// of groups 2 ...), size:group (x times each indicator); an intercept comes
// first. Sums of squares run over all coordinates and are sequential (type
// I): the SS of a term is the residual SS of the model with the terms before
// it minus that of the model with it; Total is the residual SS of the
// intercept-only model. Rsq = SS / Total SS, MS = SS / Df, F = MS / the full
// model's residual MS.
//
// p-values come from randomized residuals: for each term, the residuals of
// the model without it (the terms before it) are permuted among specimens,
// added to that model's fitted values, and the model with every term is
// fitted again; p = (count of F at least the observed, the observed
// included) / (permutations + 1), where F within 1e-9 of the observed (of 1
// for an F below 1) counts as at least it: rounding makes no difference. Z = (log F - mean log F) /
// sd log F, over the permuted F and the observed one (sd with n - 1). The permutations are the same
// for every term: permutation r is the r-th shuffle of 0 ... N - 1 by Fisher and Yates (from the
// last place down, place i swapped with a place drawn uniformly from 0 ... i by rejection from the
// 64-bit Mersenne Twister, std::mt19937_64, seeded with `seed`), so a run repeats exactly and can
// be recomputed anywhere.
//
// Throws InputError (no file: the caller adds it) for specimens of one and
// the same shape (noshapevariation), an x with one value
// for every specimen, a group of one specimen, more parameters than
// specimens allow, terms that are not independent, fewer than 0 or more
// than 100,000 permutations.
//
// Example:
//   ProcrustesAnova a = procrustesanova(superimposed.leftCols(3 * k), {lnCs}, 999, 1);
//   a.terms[0].rsq   // the share of shape variation size explains

#include <Eigen/Core>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvolin {

struct AnovaDesign {
  Eigen::VectorXd x;
  std::vector<int> groupOf;
  std::vector<std::string> groupNames;
  bool interaction = false;
};

struct AnovaTerm {
  std::string term;  // "size", "group", "size:group"
  int df = 0;
  double ss = 0, ms = 0, rsq = 0, f = 0, z = 0, p = 0;
};

struct ProcrustesAnova {
  std::vector<AnovaTerm> terms;
  int residualDf = 0;
  double residualSs = 0, residualMs = 0;
  int totalDf = 0;
  double totalSs = 0;
  int permutations = 0;
  std::uint64_t seed = 0;
};

ProcrustesAnova procrustesanova(const Eigen::Ref<const Eigen::MatrixXd>& y,
                                const AnovaDesign& design, int permutations, std::uint64_t seed);

}  // namespace tarvolin
