#pragma once
// The shapes the least-squares regression of every coordinate on x predicts
// at chosen values of x: mean + b (at - mean of x), b each coordinate's
// slope (the covariance of coordinate and x over the variance of x). This is
// the shape change that goes with size, which standardization takes out.
//
// coords: N x v (a block of the data set is fine), x: N values, at: the
// values to predict at. Returns one row per value of `at`.
// Throws std::invalid_argument when the sizes differ, for N < 2 or when x
// does not vary.
//
// Example:
//   Eigen::MatrixXd ends = predictedshapes(data.leftCols(3 * k), fx,
//                                          Eigen::Vector2d(fx.minCoeff(), fx.maxCoeff()));

#include <Eigen/Core>

namespace tarvolin {

Eigen::MatrixXd predictedshapes(const Eigen::Ref<const Eigen::MatrixXd>& coords,
                                const Eigen::Ref<const Eigen::VectorXd>& x,
                                const Eigen::Ref<const Eigen::VectorXd>& at);

}  // namespace tarvolin
