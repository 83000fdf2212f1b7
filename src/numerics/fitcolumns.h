#pragma once
// One Procrustes fit of a k x D configuration, on the addresses of its D
// columns (each k values one after another: a page of a stack, a matrix, a
// block of whole columns), for D = 2 and D = 3.
//
// fitColumns fits `subject` onto `reference` in place: centre, scale to
// centroid size 1, turn by the best proper rotation, with the self-check of
// the rotation written to `notes`; where `sum` is given, adds the fitted
// configuration into it. Where `step` is given, what the fit did is put
// there, and its rotation is left for the caller to check in its own order
// (a fit on another thread must not write notes). Three passes over the
// subject, no allocation:
//   1. the centroid c, from the column sums;
//   2. from the centred coordinates x = s - c, the centroid size squared
//      sum(x^2) and the cross-product x^T * reference (never from raw sums:
//      far from the origin sum(s^2) - k |c|^2 loses every digit);
//   3. the fitted s = x * (R / size), written over s and added into `sum`.
// A configuration of no landmarks is left as it is.
//
// applyFit writes (s - centre) * rotation / size over `subject`, and adds it
// into `sum` where given: the last pass of a fit, and the same arithmetic to
// the last bit when a fit is done again from the configuration it began with.
//
// Example:
//   fitColumns<3>(constColumnsOf<3>(mean), columnsOf<3>(page), k, nullptr, notes);

#include <Eigen/Core>
#include <array>

#include "core/textsink.h"
#include "numerics/procrustesfit.h"

namespace tarvolin::procrustesfit {

template <int D, class Scalar = double>
using Columns = std::array<Scalar*, D>;

template <int D, class Matrix>
Columns<D> columnsOf(Matrix&& x) {
  Columns<D> columns;
  for (int d = 0; d < D; ++d) columns[d] = x.col(d).data();
  return columns;
}

template <int D, class Matrix>
Columns<D, const double> constColumnsOf(const Matrix& x) {
  Columns<D, const double> columns;
  for (int d = 0; d < D; ++d) columns[d] = x.col(d).data();
  return columns;
}

// What fitting one configuration did: the fitted configuration is
// (s - centre) * rotation / size.
template <int D>
struct FitStep {
  std::array<double, D> centre{};
  Square<D> rotation = Square<D>::Zero();
  double size = 1;
};

template <int D>
void applyFit(const FitStep<D>& step, const Columns<D>& subject, Eigen::Index k,
              const Columns<D>* sum);

template <int D>
void fitColumns(const Columns<D, const double>& reference, const Columns<D>& subject,
                Eigen::Index k, const Columns<D>* sum, const TextSink& notes,
                FitStep<D>* step = nullptr);

extern template void applyFit<2>(const FitStep<2>&, const Columns<2>&, Eigen::Index,
                                 const Columns<2>*);
extern template void applyFit<3>(const FitStep<3>&, const Columns<3>&, Eigen::Index,
                                 const Columns<3>*);
extern template void fitColumns<2>(const Columns<2, const double>&, const Columns<2>&, Eigen::Index,
                                   const Columns<2>*, const TextSink&, FitStep<2>*);
extern template void fitColumns<3>(const Columns<3, const double>&, const Columns<3>&, Eigen::Index,
                                   const Columns<3>*, const TextSink&, FitStep<3>*);

}  // namespace tarvolin::procrustesfit
