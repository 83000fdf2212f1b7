#include "numerics/tpswarp2d.h"

#include <Eigen/QR>
#include <Eigen/SVD>
#include <cmath>
#include <stdexcept>
#include <string>

namespace tarvolin {
namespace {

using Eigen::Index;

double kernel(double squaredDistance) {
  return squaredDistance > 0 ? squaredDistance * std::log(squaredDistance) : 0.0;
}

void checklandmarks(const Eigen::Ref<const Eigen::MatrixX2d>& from,
                    const Eigen::Ref<const Eigen::MatrixX2d>& to) {
  if (from.rows() != to.rows()) {
    throw std::invalid_argument("tpswarp2d: " + std::to_string(from.rows()) +
                                " landmarks to map onto " + std::to_string(to.rows()));
  }
  if (from.rows() < 3) {
    throw std::invalid_argument("tpswarp2d: a thin-plate spline needs at least 3 landmarks, not " +
                                std::to_string(from.rows()));
  }
  if (!from.allFinite() || !to.allFinite()) {
    throw std::invalid_argument("tpswarp2d: a landmark is not a finite number");
  }
  const Eigen::MatrixX2d centred = from.rowwise() - from.colwise().mean();
  const double extent = centred.norm();
  for (Index i = 0; i < from.rows(); ++i) {
    for (Index j = 0; j < i; ++j) {
      if ((from.row(i) - from.row(j)).norm() <= 1e-12 * extent) {
        throw std::invalid_argument("tpswarp2d: landmarks " + std::to_string(j + 1) + " and " +
                                    std::to_string(i + 1) + " are in one place");
      }
    }
  }
  // The spread across the landmarks' main direction: nought when they lie
  // on one line, and no affine part can then be had from them.
  const Eigen::JacobiSVD<Eigen::MatrixX2d> spread(centred);
  if (!(spread.singularValues()(1) > 1e-10 * spread.singularValues()(0))) {
    throw std::invalid_argument("tpswarp2d: the landmarks lie on one line");
  }
}

}  // namespace

Eigen::MatrixX2d TpsWarp2D::apply(const Eigen::Ref<const Eigen::MatrixX2d>& points) const {
  Eigen::MatrixX2d moved(points.rows(), 2);
  for (Index p = 0; p < points.rows(); ++p) {
    Eigen::RowVector2d at =
        affine.row(0) + points(p, 0) * affine.row(1) + points(p, 1) * affine.row(2);
    for (Index i = 0; i < landmarks.rows(); ++i) {
      at += kernel((points.row(p) - landmarks.row(i)).squaredNorm()) * weights.row(i);
    }
    moved.row(p) = at;
  }
  return moved;
}

TpsWarp2D tpswarp2d(const Eigen::Ref<const Eigen::MatrixX2d>& from,
                    const Eigen::Ref<const Eigen::MatrixX2d>& to) {
  checklandmarks(from, to);
  const Index k = from.rows();
  // Bookstein's system [K P; P' 0] [W; a] = [to; 0]: symmetric but not
  // definite, so solved by a QR factorization with column pivoting.
  Eigen::MatrixXd system = Eigen::MatrixXd::Zero(k + 3, k + 3);
  for (Index i = 0; i < k; ++i) {
    for (Index j = 0; j < i; ++j) {
      system(i, j) = system(j, i) = kernel((from.row(i) - from.row(j)).squaredNorm());
    }
    system(i, k) = system(k, i) = 1.0;
    system(i, k + 1) = system(k + 1, i) = from(i, 0);
    system(i, k + 2) = system(k + 2, i) = from(i, 1);
  }
  Eigen::MatrixX2d right = Eigen::MatrixX2d::Zero(k + 3, 2);
  right.topRows(k) = to;
  const Eigen::MatrixX2d solution = system.colPivHouseholderQr().solve(right);
  TpsWarp2D warp;
  warp.landmarks = from;
  warp.weights = solution.topRows(k);
  warp.affine = solution.bottomRows(3);
  return warp;
}

}  // namespace tarvolin
