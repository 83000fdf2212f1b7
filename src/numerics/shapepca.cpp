#include "numerics/shapepca.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "numerics/lapack.h"
#include "numerics/largesteigen.h"
#include "numerics/oneblasthread.h"

namespace tarvolin {
namespace {

using Eigen::Index;

// Rows multiplied by the eigenvectors at a time: the scores of a block are
// held once beside the data, never the scores of all rows.
constexpr Index kScoreRows = 256;

void checkinput(const Eigen::MatrixXd& data, Index variables) {
  if (variables < 1 || variables > data.cols()) {
    throw std::invalid_argument("shapepca: " + std::to_string(variables) +
                                " variables asked of a data set of " + std::to_string(data.cols()) +
                                " columns");
  }
  if (data.rows() < 2) {
    throw std::invalid_argument("principal components need at least 2 specimens, not " +
                                std::to_string(data.rows()));
  }
  for (Index j = 0; j < variables; ++j) {
    for (Index i = 0; i < data.rows(); ++i) {
      if (!std::isfinite(data(i, j))) {
        throw std::invalid_argument("specimen " + std::to_string(i + 1) + " (row " +
                                    std::to_string(i + 1) +
                                    ") has a coordinate that is not a finite number (column " +
                                    std::to_string(j + 1) + ")");
      }
    }
  }
}

int lapackint(Index value) {
  if (value > INT_MAX) {
    throw std::invalid_argument("a data set of more than " + std::to_string(INT_MAX) +
                                " specimens or variables cannot be analysed");
  }
  return static_cast<int>(value);
}

// The components kept: eigenvalues above the rounding floor times the
// first, at most N - 1, at most `wanted` when above 0.
Index keptcomponents(const Eigen::VectorXd& values, Index specimens, Index variables,
                     Index wanted) {
  Index limit = std::min<Index>(values.size(), specimens - 1);
  if (wanted > 0) limit = std::min(limit, wanted);
  if (values.size() == 0 || !(values(0) > 0)) return 0;
  const double floor = pcaroundingfloor(specimens, variables) * values(0);
  Index m = 0;
  while (m < limit && values(m) > floor) ++m;
  return m;
}

// The element of largest magnitude, the first such on a tie.
Index largestelement(const Eigen::Ref<const Eigen::VectorXd>& v) {
  Index at = 0;
  for (Index i = 1; i < v.size(); ++i) {
    if (std::abs(v(i)) > std::abs(v(at))) at = i;
  }
  return at;
}

}  // namespace

double pcaroundingfloor(Index specimens, Index variables) {
  return static_cast<double>(specimens) * static_cast<double>(variables) *
         std::numeric_limits<double>::epsilon();
}

Eigen::VectorXd ShapePca::proportions() const {
  if (!(totalVariance > 0)) return Eigen::VectorXd::Zero(components());
  return eigenvalues / totalVariance;
}

Eigen::VectorXd ShapePca::cumulative() const {
  Eigen::VectorXd running = proportions();
  for (Index i = 1; i < running.size(); ++i) running(i) += running(i - 1);
  return running;
}

Eigen::RowVectorXd ShapePca::shapeat(Index component, double score) const {
  if (component < 0 || component >= components()) {
    throw std::invalid_argument("no component " + std::to_string(component + 1) + " among " +
                                std::to_string(components()));
  }
  return mean + score * vectors.col(component).transpose();
}

ShapePca shapepca(Eigen::MatrixXd data, Index variables, Index components, PcaRoute route,
                  Index dimensions) {
  checkinput(data, variables);
  oneblasthread();
  const Index n = data.rows();
  const Index v = variables;
  const int rows = lapackint(n), columns = lapackint(v);
  if (route == PcaRoute::automatic) {
    route = n >= v ? PcaRoute::covariance : PcaRoute::crossproduct;
  }
  const double one = 1, zero = 0;

  ShapePca pca;
  pca.specimens = n;
  pca.mean = data.leftCols(v).colwise().mean();
  data.leftCols(v).rowwise() -= pca.mean;
  pca.totalVariance = data.leftCols(v).squaredNorm() / static_cast<double>(n - 1);
  // No more than N - 1 components can have variance: centring took one
  // degree of freedom.
  // Nor more than the variables, whichever route was taken.
  Index wanted = std::min({v, n, n - 1});
  if (dimensions > 0) wanted = std::min(wanted, dimensions);
  if (components > 0) wanted = std::min(wanted, components);

  if (route == PcaRoute::covariance) {
    Eigen::MatrixXd products(v, v);
    dsyrk_("L", "T", &columns, &rows, &one, data.data(), &rows, &zero, products.data(), &columns, 1,
           1);
    LargestEigen d = largesteigen(products, wanted);
    const Index m = keptcomponents(d.values, n, v, wanted);
    pca.eigenvalues = d.values.head(m) / static_cast<double>(n - 1);
    if (m < d.vectors.cols()) d.vectors.conservativeResize(Eigen::NoChange, m);
    pca.vectors = std::move(d.vectors);
    for (Index c = 0; c < m; ++c) {
      if (pca.vectors(largestelement(pca.vectors.col(c)), c) < 0) pca.vectors.col(c) *= -1;
    }
    // One block of rows at a time on this thread: OpenBLAS gives every
    // thread that calls it a work buffer of its own (12 MB more at 8,000 x
    // 1,500), which a second lane would cost more than it saves.
    const int kept = static_cast<int>(m);
    Eigen::MatrixXd block(std::min(kScoreRows, n), m);
    for (Index first = 0; first < n && kept > 0; first += kScoreRows) {
      const int height = static_cast<int>(std::min(kScoreRows, n - first));
      dgemm_("N", "N", &height, &kept, &columns, &one, data.data() + first, &rows,
             pca.vectors.data(), &columns, &zero, block.data(), &height, 1, 1);
      data.block(first, 0, height, m) = Eigen::Map<const Eigen::MatrixXd>(block.data(), height, m);
    }
  } else {
    // The eigenvectors u of C C' (N x N) with eigenvalue l give those of
    // C'C through the data: C'u / sqrt(l), and the scores C C'u / sqrt(l)
    // = u sqrt(l).
    Eigen::MatrixXd products(n, n);
    dsyrk_("L", "N", &rows, &columns, &one, data.data(), &rows, &zero, products.data(), &rows, 1,
           1);
    LargestEigen d = largesteigen(products, wanted);
    const Index m = keptcomponents(d.values, n, v, wanted);
    const int kept = static_cast<int>(m);
    pca.eigenvalues = d.values.head(m) / static_cast<double>(n - 1);
    pca.vectors.resize(v, m);
    if (kept > 0) {
      dgemm_("T", "N", &columns, &kept, &rows, &one, data.data(), &rows, d.vectors.data(), &rows,
             &zero, pca.vectors.data(), &columns, 1, 1);
    }
    for (Index c = 0; c < m; ++c) {
      double length = pca.vectors.col(c).norm();
      if (pca.vectors(largestelement(pca.vectors.col(c)), c) < 0) length = -length;
      pca.vectors.col(c) /= length;
      // The score follows the vector's sign; its size is the root of l.
      const double scale = (length < 0 ? -1.0 : 1.0) * std::sqrt(d.values(c));
      data.col(c).head(n) = d.vectors.col(c) * scale;
    }
  }
  pca.scoreMemory = std::move(data);
  return pca;
}

}  // namespace tarvolin
