#include "numerics/shapepca.h"

#include <Eigen/Eigenvalues>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

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
    throw std::invalid_argument("shapepca: principal components need at least 2 specimens, not " +
                                std::to_string(data.rows()));
  }
  for (Index j = 0; j < variables; ++j) {
    for (Index i = 0; i < data.rows(); ++i) {
      if (!std::isfinite(data(i, j))) {
        throw std::invalid_argument("shapepca: specimen " + std::to_string(i + 1) + " (row " +
                                    std::to_string(i + 1) +
                                    ") has a coordinate that is not a finite number (column " +
                                    std::to_string(j + 1) + ")");
      }
    }
  }
}

// The eigenvalues of a symmetric matrix (its lower triangle is read), largest
// first, with their unit eigenvectors.
struct Decomposition {
  Eigen::VectorXd values;
  Eigen::MatrixXd vectors;
};

Decomposition decreasing(const Eigen::MatrixXd& symmetric) {
  Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(symmetric);
  if (solver.info() != Eigen::Success) {
    throw std::invalid_argument("shapepca: the eigenvalues of the covariance did not converge");
  }
  Decomposition d;
  d.values = solver.eigenvalues().reverse();
  d.vectors = solver.eigenvectors().rowwise().reverse();
  return d;
}

// The components kept: eigenvalues above kPcaRelativeEigenvalue times the
// first, at most N - 1, at most `wanted` when above 0.
Index keptcomponents(const Eigen::VectorXd& values, Index specimens, Index wanted) {
  Index limit = std::min<Index>(values.size(), specimens - 1);
  if (wanted > 0) limit = std::min(limit, wanted);
  if (values.size() == 0 || !(values(0) > 0)) return 0;
  const double floor = kPcaRelativeEigenvalue * values(0);
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
    throw std::invalid_argument("shapepca: no component " + std::to_string(component + 1) +
                                " among " + std::to_string(components()));
  }
  return mean + score * vectors.col(component).transpose();
}

ShapePca shapepca(Eigen::MatrixXd data, Index variables, Index components, PcaRoute route) {
  checkinput(data, variables);
  const Index n = data.rows();
  const Index v = variables;
  if (route == PcaRoute::automatic) {
    route = n >= v ? PcaRoute::covariance : PcaRoute::crossproduct;
  }

  ShapePca pca;
  pca.specimens = n;
  pca.mean = data.leftCols(v).colwise().mean();
  data.leftCols(v).rowwise() -= pca.mean;
  const auto centred = data.leftCols(v);
  pca.totalVariance = centred.squaredNorm() / static_cast<double>(n - 1);

  if (route == PcaRoute::covariance) {
    Eigen::MatrixXd products = Eigen::MatrixXd::Zero(v, v);
    products.selfadjointView<Eigen::Lower>().rankUpdate(centred.transpose());
    Decomposition d = decreasing(products);
    products.resize(0, 0);
    const Index m = keptcomponents(d.values, n, components);
    pca.eigenvalues = d.values.head(m) / static_cast<double>(n - 1);
    pca.vectors = d.vectors.leftCols(m);
    d.vectors.resize(0, 0);
    for (Index c = 0; c < m; ++c) {
      if (pca.vectors(largestelement(pca.vectors.col(c)), c) < 0) pca.vectors.col(c) *= -1;
    }
    for (Index r = 0; r < n; r += kScoreRows) {
      const Index rows = std::min(kScoreRows, n - r);
      const Eigen::MatrixXd block = data.block(r, 0, rows, v) * pca.vectors;
      data.block(r, 0, rows, m) = block;
    }
  } else {
    // The eigenvectors u of C C' (N x N) with eigenvalue l give those of
    // C'C through the data: C'u / sqrt(l), and the scores C C'u / sqrt(l)
    // = u sqrt(l).
    Eigen::MatrixXd products = Eigen::MatrixXd::Zero(n, n);
    products.selfadjointView<Eigen::Lower>().rankUpdate(centred);
    Decomposition d = decreasing(products);
    products.resize(0, 0);
    const Index m = keptcomponents(d.values, n, components);
    pca.eigenvalues = d.values.head(m) / static_cast<double>(n - 1);
    pca.vectors = centred.transpose() * d.vectors.leftCols(m);
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
