#pragma once
// The thin-plate spline that maps one configuration of landmarks in the
// plane onto another (Bookstein 1989): the interpolating function of least
// bending energy, f(p) = a + A p + sum_i w_i U(|p - P_i|), with
// U(r) = r^2 log r^2 (U(0) = 0), taking each landmark P_i of `from` exactly
// onto the same landmark of `to`. Used to draw a grid over the mean shape
// deformed as it is into a target shape.
//
// from, to: k x 2, k >= 3, the same landmarks; the landmarks of `from` must
// not all lie on one line and no two may coincide (std::invalid_argument
// otherwise).
//
// Example:
//   TpsWarp2D warp = tpswarp2d(mean, target);
//   Eigen::MatrixX2d moved = warp.apply(gridPoints);   // rows of (x, y)

#include <Eigen/Core>

namespace tarvolin {

struct TpsWarp2D {
  Eigen::MatrixX2d landmarks;  // `from`
  Eigen::MatrixX2d weights;    // k x 2: w_i
  Eigen::Matrix<double, 3, 2> affine;  // rows: a, then A' (x and y)
  Eigen::MatrixX2d apply(const Eigen::Ref<const Eigen::MatrixX2d>& points) const;
};

TpsWarp2D tpswarp2d(const Eigen::Ref<const Eigen::MatrixX2d>& from,
                    const Eigen::Ref<const Eigen::MatrixX2d>& to);

}  // namespace tarvolin
