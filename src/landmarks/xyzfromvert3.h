#pragma once
// Turns a configuration stack back into a landmark data set.
//
// data: a k x 3 x p stack.
// cs:   at least p values; row i gets cs(i) as its trailing column.
// Returns p rows of X1 Y1 Z1 ... Xk Yk Zk cs(i), p x (3k + 1). Values are
// only moved, so vertxy3D followed by xyzfromvert3 with the data set's own
// last column gives the data set back bit for bit.
// Throws std::out_of_range when cs has fewer than p values.
//
// Example:
//   xyzfromvert3(vertxy3D(D), D.col(D.cols() - 1)) == D

#include <Eigen/Core>

#include "landmarks/configstack.h"

namespace tarvolin {

Eigen::MatrixXd xyzfromvert3(const ConfigStack& data, const Eigen::Ref<const Eigen::VectorXd>& cs);

}  // namespace tarvolin
