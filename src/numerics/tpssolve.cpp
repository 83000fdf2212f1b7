#include "numerics/tpssolve.h"

#include <Eigen/SVD>
#include <climits>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "numerics/lapack.h"
#include "numerics/oneblasthread.h"

namespace tarvolin {

using Eigen::Index;

double tpskernel(double squaredDistance, Index dims) {
  if (dims == 3) return std::sqrt(squaredDistance);
  return squaredDistance > 0 ? squaredDistance * std::log(squaredDistance) : 0.0;
}

Eigen::MatrixXd tpssolve(const Eigen::MatrixXd& points, Eigen::MatrixXd right) {
  const Index p = points.rows();
  const Index d = points.cols();
  if (d != 2 && d != 3) {
    throw std::invalid_argument("points of 2 or 3 coordinates, not " + std::to_string(d));
  }
  const Index n = p + d + 1;
  if (n > INT_MAX / 2 || right.cols() > INT_MAX) {
    throw std::invalid_argument("too many points (" + std::to_string(p) + ")");
  }
  if (right.rows() != n) {
    throw std::invalid_argument("a right-hand side of " + std::to_string(right.rows()) +
                                " rows for " + std::to_string(n));
  }
  // All points on one line (2D) or plane (3D): the affine part is not
  // determined.
  const Eigen::MatrixXd centred = points.rowwise() - points.colwise().mean();
  const std::string flat = d == 2 ? "line" : "plane";
  if (p < d + 1) throw std::invalid_argument("all its points lie on one " + flat);
  const Eigen::VectorXd spread = Eigen::JacobiSVD<Eigen::MatrixXd>(centred).singularValues();
  if (!(spread(d - 1) > kTpsFlat * spread(0))) {
    throw std::invalid_argument("all its points lie on one " + flat);
  }
  const double close = kTpsCoincident * centred.norm();
  Eigen::MatrixXd q = Eigen::MatrixXd::Zero(n, n);
  for (Index j = 0; j < p; ++j) {
    for (Index i = j + 1; i < p; ++i) {
      const double r2 = (points.row(i) - points.row(j)).squaredNorm();
      if (!(r2 > close * close)) {
        throw std::invalid_argument("its points " + std::to_string(j + 1) + " and " +
                                    std::to_string(i + 1) + " lie at one place");
      }
      q(i, j) = q(j, i) = tpskernel(r2, d);
    }
    q(j, p) = q(p, j) = 1;
    for (Index c = 0; c < d; ++c) q(j, p + 1 + c) = q(p + 1 + c, j) = points(j, c);
  }
  oneblasthread();
  const int order = static_cast<int>(n);
  const int columns = static_cast<int>(right.cols());
  std::vector<int> pivots(static_cast<size_t>(n));
  int info = 0;
  dgesv_(&order, &columns, q.data(), &order, pivots.data(), right.data(), &order, &info);
  if (info != 0 || !right.allFinite()) throw std::invalid_argument("its matrix is singular");
  return right;
}

}  // namespace tarvolin
