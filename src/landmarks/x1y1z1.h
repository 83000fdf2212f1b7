#pragma once
// Turns one configuration into one data-set row.
//
// x:  a configuration, k x 3, one landmark per row.
// cs: the value for the trailing column (the specimen's size).
// Returns the row X1 Y1 Z1 ... Xk Yk Zk cs, 1 x (3k + 1).
//
// Example:
//   x1y1z1([1 2 3; 4 5 6], 7)  -> [1 2 3 4 5 6 7]

#include <Eigen/Core>

namespace tarvolin {

Eigen::RowVectorXd x1y1z1(const Eigen::Ref<const Eigen::MatrixXd>& x, double cs);

}  // namespace tarvolin
