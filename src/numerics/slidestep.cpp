#include "numerics/slidestep.h"

#include <Eigen/Dense>
#include <algorithm>
#include <climits>
#include <vector>

#include "numerics/lapack.h"
#include "numerics/oneblasthread.h"
#include "numerics/slidedirections.h"

namespace tarvolin {
namespace {

using Eigen::Index;

// T = Y - U (U'U)^-1 U'(Y - R): U'U is block-diagonal, one block of one or
// two directions per point, so each point is moved on its own.
void slidebydistance(Eigen::MatrixXd& config, const Eigen::MatrixXd& reference,
                     const SlideDirections& u) {
  const Index m = u.unit.rows();
  for (Index a = 0; a < m;) {
    const int point = u.point[static_cast<size_t>(a)];
    Index b = a + 1;
    while (b < m && u.point[static_cast<size_t>(b)] == point) ++b;
    const Eigen::MatrixXd dirs = u.unit.middleRows(a, b - a).transpose();  // d x n
    const Eigen::VectorXd off = (config.row(point) - reference.row(point)).transpose();
    const Eigen::MatrixXd gram = dirs.transpose() * dirs;
    const Eigen::VectorXd t = gram.ldlt().solve(dirs.transpose() * off);
    config.row(point) -= (dirs * t).transpose();
    a = b;
  }
}

// U'BU times `sign`, its lower triangle: the element for directions a and b
// is L(i_a, i_b) (u_a . u_b).
void fillsystem(Eigen::MatrixXd& system, const SlideDirections& u, const Eigen::MatrixXd& bending,
                double sign) {
  const Index m = u.unit.rows();
  const Index d = u.unit.cols();
  for (Index b = 0; b < m; ++b) {
    const Index j = u.point[static_cast<size_t>(b)];
    for (Index a = b; a < m; ++a) {
      const Index i = u.point[static_cast<size_t>(a)];
      double along = 0;
      for (Index c = 0; c < d; ++c) along += u.unit(a, c) * u.unit(b, c);
      system(a, b) = sign * bending(i, j) * along;
    }
  }
}

// T = Y - U (U'BU)^-1 U'B(Y - R), with B = diag(L, L[, L]): the element of
// U'B(Y - R) for direction a is u_a . (L (Y - R)) row i_a. The system is
// solved by Cholesky, else (a matrix that is not definite) by Bunch-Kaufman,
// in the one m x m matrix: thousands of semilandmarks make it large.
void slidebybending(Eigen::MatrixXd& config, const Eigen::MatrixXd& reference,
                    const SlideDirections& u, const Eigen::MatrixXd& bending) {
  const Index m = u.unit.rows();
  if (m > INT_MAX / 2) throw SlideError("too many semilandmarks slide at once");
  const Eigen::MatrixXd off = config - reference;
  // The bending energy of the kernel r (3D) is of the other sign: the
  // system and its right-hand side are turned positive.
  const double sign = config.cols() == 3 ? -1.0 : 1.0;
  Eigen::VectorXd rhs(m);
  for (Index a = 0; a < m; ++a) {
    const Index i = u.point[static_cast<size_t>(a)];
    // L is symmetric: row i of L (Y - R) is column i of L times Y - R.
    const Eigen::RowVectorXd pulled = bending.col(i).transpose() * off;
    rhs(a) = sign * pulled.dot(u.unit.row(a));
  }
  const Eigen::VectorXd given = rhs;
  Eigen::MatrixXd system(m, m);
  fillsystem(system, u, bending, sign);
  oneblasthread();
  const int n = static_cast<int>(m);
  const int one = 1;
  int info = 0;
  dpotrf_("L", &n, system.data(), &n, &info, 1);
  if (info == 0) dpotrs_("L", &n, &one, system.data(), &n, rhs.data(), &n, &info, 1);
  if (info != 0 || !rhs.allFinite()) {
    rhs = given;
    fillsystem(system, u, bending, sign);
    std::vector<int> pivots(static_cast<size_t>(n));
    double size = 0;
    int lwork = -1;
    dsysv_("L", &n, &one, system.data(), &n, pivots.data(), rhs.data(), &n, &size, &lwork, &info,
           1);
    lwork = std::max(1, static_cast<int>(size));
    std::vector<double> work(static_cast<size_t>(lwork));
    dsysv_("L", &n, &one, system.data(), &n, pivots.data(), rhs.data(), &n, work.data(), &lwork,
           &info, 1);
  }
  if (info != 0 || !rhs.allFinite()) {
    throw SlideError(
        "the semilandmarks can move along their directions without bending the shape, so "
        "bending energy does not tell where they belong; fix more landmarks, or slide by "
        "Procrustes distance");
  }
  for (Index a = 0; a < m; ++a) {
    config.row(u.point[static_cast<size_t>(a)]) -= rhs(a) * u.unit.row(a);
  }
}

}  // namespace

void slidestep(Eigen::MatrixXd& config, const Eigen::MatrixXd& reference, const Sliders& sliders,
               SlideCriterion criterion, const Eigen::MatrixXd& bending) {
  if (sliders.empty()) return;
  const SlideDirections u = slidedirections(config, sliders);
  if (criterion == SlideCriterion::procrustesDistance) {
    slidebydistance(config, reference, u);
  } else {
    slidebybending(config, reference, u, bending);
  }
}

}  // namespace tarvolin
