#pragma once
// Turns a stack of flat configurations back into a 2D landmark data set.
//
// data: a k x 2 x p stack.
// cs:   at least p values; row i gets cs(i) as its trailing column.
// Returns p rows of X1 Y1 ... Xk Yk cs(i), p x (2k + 1). Values are only
// moved, so vertxy2D followed by xyfromvert2 with the data set's own last
// column gives the data set back bit for bit.
// Throws std::out_of_range when cs has fewer than p values.
//
// Example:
//   xyfromvert2(vertxy2D(D), D.col(D.cols() - 1)) == D

#include <Eigen/Core>

#include "landmarks/configstack.h"

namespace tarvolin {

Eigen::MatrixXd xyfromvert2(const ConfigStack2D& data, const Eigen::Ref<const Eigen::VectorXd>& cs);

}  // namespace tarvolin
