#pragma once
// Centroid size: sqrt(sum over landmarks j and coordinates i of (x(j,i) - mean_i)^2).
//
// x: a configuration, k x n (one landmark per row; n is 3, or 2 for flat data).
// Returns the square root of the summed squared distances of the landmarks
// from their centroid: independent of position and orientation, linear in
// scale, 0 when all landmarks coincide.
//
// Example:
//   centsize3Da([0 0 0; 1 0 0; 0 1 0])  -> sqrt(4/3) = 1.1547...

#include <Eigen/Core>

namespace tarvolin {

double centsize3Da(const Eigen::Ref<const Eigen::MatrixXd>& x);

}  // namespace tarvolin
