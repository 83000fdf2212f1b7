#pragma once
// Solves the linear system of a thin-plate spline built on p points, for
// the bending energy and the deformation grid alike: one solver and one
// rule for when the spline is not determined.
//
//   [ K   1   R ] X = B        K(i, j) = tpskernel(|R_i - R_j|^2, d)
//   [ 1'  0   0 ]
//   [ R'  0   0 ]
//
// points: R, p x d (d = 2 or 3). right: B, (p + d + 1) x m.
// Returns X, (p + d + 1) x m, by LU with partial pivoting (LAPACK dgesv).
//
// Gives up with std::invalid_argument saying why, in words that follow
// "the spline of the mean shape cannot be formed: ":
//   "all its points lie on one line" (2D; "plane" in 3D): fewer than d + 1
//     points, or the smallest singular value of the centred points is not
//     above kTpsFlat times the largest;
//   "its points 3 and 9 lie at one place": two points (numbered from 1)
//     closer than kTpsCoincident times the points' centroid size;
//   "its matrix is singular": the factorization finds no unique solution.
//
// Example:
//   Eigen::MatrixXd x = tpssolve(mean, rightHandSides);

#include <Eigen/Core>

namespace tarvolin {

inline constexpr double kTpsFlat = 1e-12;
inline constexpr double kTpsCoincident = 1e-12;

// U(r) of the spline in d dimensions from the squared distance r^2:
// r^2 log r^2 in 2D (0 at r = 0), r in 3D.
double tpskernel(double squaredDistance, Eigen::Index dims);

Eigen::MatrixXd tpssolve(const Eigen::MatrixXd& points, Eigen::MatrixXd right);

}  // namespace tarvolin
