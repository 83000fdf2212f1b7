#include "numerics/fitcolumns.h"

#include <cmath>

#include "numerics/fitlanes.h"

namespace tarvolin::procrustesfit {

template <int D>
void applyFit(const FitStep<D>& step, const Columns<D>& subject, Eigen::Index k,
              const Columns<D>* sum) {
  using Index = Eigen::Index;
  const Index whole = k - k % kLanes;
  const std::array<double, D>& c = step.centre;
  const Square<D> m = step.rotation / step.size;
  for (Index j = 0; j < whole; j += kLanes) {
    std::array<Lanes, D> x;
    for (int d = 0; d < D; ++d) x[d] = loadLanes(subject[d] + j) - c[d];
    for (int col = 0; col < D; ++col) {
      Lanes y = x[0] * m(0, col);
      for (int row = 1; row < D; ++row) y += x[row] * m(row, col);
      storeLanes(subject[col] + j, y);
      if (sum) storeLanes((*sum)[col] + j, loadLanes((*sum)[col] + j) + y);
    }
  }
  for (Index j = whole; j < k; ++j) {
    std::array<double, D> x;
    for (int d = 0; d < D; ++d) x[d] = subject[d][j] - c[d];
    for (int col = 0; col < D; ++col) {
      double y = x[0] * m(0, col);
      for (int row = 1; row < D; ++row) y += x[row] * m(row, col);
      subject[col][j] = y;
      if (sum) (*sum)[col][j] += y;
    }
  }
}

template <int D>
void fitColumns(const Columns<D, const double>& reference, const Columns<D>& subject,
                Eigen::Index k, const Columns<D>* sum, const TextSink& notes, FitStep<D>* step) {
  if (k == 0) return;
  using Index = Eigen::Index;
  const Index whole = k - k % kLanes;

  // 1. The centroid.
  std::array<double, D> c;
  for (int d = 0; d < D; ++d) {
    c[d] = Eigen::Map<const Eigen::VectorXd>(subject[d], k).sum() / static_cast<double>(k);
  }

  // 2. The centred sums.
  std::array<Lanes, D> squares;
  std::array<std::array<Lanes, D>, D> cross;
  for (int a = 0; a < D; ++a) {
    squares[a].setZero();
    for (int b = 0; b < D; ++b) cross[a][b].setZero();
  }
  for (Index j = 0; j < whole; j += kLanes) {
    std::array<Lanes, D> x;
    std::array<Lanes, D> r;
    for (int d = 0; d < D; ++d) {
      x[d] = loadLanes(subject[d] + j) - c[d];
      r[d] = loadLanes(reference[d] + j);
    }
    for (int a = 0; a < D; ++a) {
      squares[a] += x[a] * x[a];
      for (int b = 0; b < D; ++b) cross[a][b] += x[a] * r[b];
    }
  }
  double sizeSquared = 0;
  Square<D> a;
  for (int row = 0; row < D; ++row) {
    sizeSquared += squares[row].sum();
    for (int col = 0; col < D; ++col) a(row, col) = cross[row][col].sum();
  }
  for (Index j = whole; j < k; ++j) {
    std::array<double, D> x;
    for (int d = 0; d < D; ++d) x[d] = subject[d][j] - c[d];
    for (int row = 0; row < D; ++row) {
      sizeSquared += x[row] * x[row];
      for (int col = 0; col < D; ++col) a(row, col) += x[row] * reference[col][j];
    }
  }
  const double size = std::sqrt(sizeSquared);

  // The rotation of the scaled subject, checked.
  const FitStep<D> done{c, rotationOf<D>(a / size), size};
  if (!step) checkRotation<D>(done.rotation, notes);

  // 3. The fitted subject, and the running sum.
  applyFit<D>(done, subject, k, sum);
  if (step) *step = done;
}

template void applyFit<2>(const FitStep<2>&, const Columns<2>&, Eigen::Index, const Columns<2>*);
template void applyFit<3>(const FitStep<3>&, const Columns<3>&, Eigen::Index, const Columns<3>*);
template void fitColumns<2>(const Columns<2, const double>&, const Columns<2>&, Eigen::Index,
                            const Columns<2>*, const TextSink&, FitStep<2>*);
template void fitColumns<3>(const Columns<3, const double>&, const Columns<3>&, Eigen::Index,
                            const Columns<3>*, const TextSink&, FitStep<3>*);

}  // namespace tarvolin::procrustesfit
