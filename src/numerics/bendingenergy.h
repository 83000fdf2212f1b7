#pragma once
// The bending-energy matrix of a thin-plate spline built on a configuration.
//
// reference: p points, p x d (d = 2 or 3).
// Returns L, p x p: the upper-left block of the inverse of
//   [ K   1   R ]
//   [ 1'  0   0 ]
//   [ R'  0   0 ]
// where K(i, j) is the kernel of the distance r between points i and j:
// r^2 log r^2 in 2D (0 at r = 0), r in 3D. For a displacement D (p x d) of
// the points, the bending energy of the spline that maps R onto R + D is
// proportional to the trace of D' L D: positive in 2D, negative in 3D
// (where the kernel r is of the other sign), and 0 for an affine D.
//
// Throws std::invalid_argument when the spline is not determined (see
// tpssolve, whose rule the deformation grid follows too): two points at one
// place (named by their numbers from 1), all points on one line in 2D or one
// plane in 3D, a singular matrix; the caller knows which configuration it was.
//
// Example:
//   Eigen::MatrixXd L = bendingenergy(mean);                  // p x p
//   double energy = (D.transpose() * L * D).trace();          // 2D

#include <Eigen/Core>

namespace tarvolin {

Eigen::MatrixXd bendingenergy(const Eigen::MatrixXd& reference);

}  // namespace tarvolin
