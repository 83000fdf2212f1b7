#include "numerics/tpswarp2d.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "numerics/tpssolve.h"

namespace tarvolin {
namespace {

using Eigen::Index;

void checklandmarks(const Eigen::Ref<const Eigen::MatrixX2d>& from,
                    const Eigen::Ref<const Eigen::MatrixX2d>& to) {
  if (from.rows() != to.rows()) {
    throw TpsWarpError(std::to_string(from.rows()) + " landmarks to map onto " +
                       std::to_string(to.rows()));
  }
  if (from.rows() < 3) {
    throw TpsWarpError("a thin-plate spline needs at least 3 landmarks, not " +
                       std::to_string(from.rows()));
  }
  if (!from.allFinite() || !to.allFinite()) {
    throw TpsWarpError("a landmark is not a finite number");
  }
}

}  // namespace

Eigen::MatrixX2d TpsWarp2D::apply(const Eigen::Ref<const Eigen::MatrixX2d>& points) const {
  Eigen::MatrixX2d moved(points.rows(), 2);
  for (Index p = 0; p < points.rows(); ++p) {
    Eigen::RowVector2d at =
        affine.row(0) + points(p, 0) * affine.row(1) + points(p, 1) * affine.row(2);
    for (Index i = 0; i < landmarks.rows(); ++i) {
      at += tpskernel((points.row(p) - landmarks.row(i)).squaredNorm(), 2) * weights.row(i);
    }
    moved.row(p) = at;
  }
  return moved;
}

TpsWarp2D tpswarp2d(const Eigen::Ref<const Eigen::MatrixX2d>& from,
                    const Eigen::Ref<const Eigen::MatrixX2d>& to) {
  checklandmarks(from, to);
  const Index k = from.rows();
  // Bookstein's system [K P; P' 0] [W; a] = [to; 0].
  Eigen::MatrixXd right = Eigen::MatrixXd::Zero(k + 3, 2);
  right.topRows(k) = to;
  Eigen::MatrixXd solution;
  try {
    solution = tpssolve(from, std::move(right));
  } catch (const std::invalid_argument& e) {
    throw TpsWarpError(e.what());
  }
  TpsWarp2D warp;
  warp.landmarks = from;
  warp.weights = solution.topRows(k);
  warp.affine = solution.bottomRows(3);
  const double near = kTpsUnstable * (from.rowwise() - from.colwise().mean()).norm();
  for (Index i = 0; i < k; ++i) {
    for (Index j = i + 1; j < k; ++j) {
      if ((from.row(i) - from.row(j)).norm() < near) warp.unstable.emplace_back(i, j);
    }
  }
  return warp;
}

}  // namespace tarvolin
