#pragma once
// Turns a 2D landmark data set into a configuration stack.
//
// x: N rows (specimens) by W columns, X1 Y1 ... Xk Yk and usually a trailing
//    size column.
// Returns the floor(W/2) x 2 x N stack whose page i holds row i, one landmark
// per row; a column beyond 2k (the size column) is not read.
// Throws std::invalid_argument when x has no rows or fewer than 2 columns.
//
// Example:
//   vertxy2D([1 2 3 4 9])  -> one page [1 2; 3 4]

#include <Eigen/Core>

#include "landmarks/configstack.h"

namespace tarvolin {

ConfigStack2D vertxy2D(const Eigen::MatrixXd& x);

}  // namespace tarvolin
