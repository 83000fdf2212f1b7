#include "numerics/bendingenergy.h"

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

Eigen::MatrixXd bendingenergy(const Eigen::MatrixXd& reference) {
  const Index p = reference.rows();
  const Index d = reference.cols();
  if (d != 2 && d != 3) {
    throw std::invalid_argument("bendingenergy: points of 2 or 3 coordinates, not " +
                                std::to_string(d));
  }
  const Index n = p + d + 1;
  if (n > INT_MAX / 2) {
    throw std::invalid_argument("bendingenergy: too many points (" + std::to_string(p) + ")");
  }
  const std::string flat = d == 2 ? "line" : "plane";
  const auto refuse = [&](const std::string& why) {
    throw std::invalid_argument("the thin-plate spline of the mean shape cannot be formed: " + why);
  };
  // All points on one line (2D) or plane (3D): the affine part is not
  // determined.
  const Eigen::MatrixXd centred = reference.rowwise() - reference.colwise().mean();
  const Eigen::VectorXd spread = Eigen::JacobiSVD<Eigen::MatrixXd>(centred).singularValues();
  if (p < d + 1 || !(spread(d - 1) > 1e-12 * spread(0))) refuse("all its points lie on one " + flat);
  Eigen::MatrixXd q = Eigen::MatrixXd::Zero(n, n);
  for (Index j = 0; j < p; ++j) {
    for (Index i = j + 1; i < p; ++i) {
      const double r2 = (reference.row(i) - reference.row(j)).squaredNorm();
      if (!(r2 > 0)) {
        refuse("its points " + std::to_string(j + 1) + " and " + std::to_string(i + 1) +
               " lie at one place");
      }
      const double k = d == 2 ? (r2 > 0 ? r2 * std::log(r2) : 0.0) : std::sqrt(r2);
      q(i, j) = k;
      q(j, i) = k;
    }
    q(j, p) = 1;
    q(p, j) = 1;
    for (Index c = 0; c < d; ++c) {
      q(j, p + 1 + c) = reference(j, c);
      q(p + 1 + c, j) = reference(j, c);
    }
  }
  // The first p columns of the inverse: Q X = [I; 0].
  Eigen::MatrixXd x = Eigen::MatrixXd::Identity(n, p);
  oneblasthread();
  const int order = static_cast<int>(n);
  const int columns = static_cast<int>(p);
  std::vector<int> pivots(static_cast<size_t>(n));
  int info = 0;
  dgesv_(&order, &columns, q.data(), &order, pivots.data(), x.data(), &order, &info);
  if (info != 0 || !x.allFinite()) refuse("its matrix is singular");
  q.resize(0, 0);
  Eigen::MatrixXd bending = x.topRows(p);
  return bending;
}

}  // namespace tarvolin
