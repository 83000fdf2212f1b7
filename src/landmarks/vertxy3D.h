#pragma once
// Turns a landmark data set into a configuration stack.
//
// x: N rows (specimens) by W columns, X1 Y1 Z1 ... Xk Yk Zk and usually a
//    trailing size column.
// Returns the floor(W/3) x 3 x N stack whose page i holds row i, one landmark
// per row; columns beyond 3k (the size column) are not read.
// Throws std::invalid_argument when x has no rows or fewer than 3 columns.
//
// Example:
//   vertxy3D([1 2 3 4 5 6 9])  -> one page [1 2 3; 4 5 6]

#include <Eigen/Core>

#include "landmarks/configstack.h"

namespace tarvolin {

ConfigStack vertxy3D(const Eigen::MatrixXd& x);

}  // namespace tarvolin
