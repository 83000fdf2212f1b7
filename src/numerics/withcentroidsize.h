#pragma once
// A landmark data set from rows of coordinates alone, with each specimen's
// centroid size as the size column.
//
// rows:  N x 3k, X1 Y1 Z1 ... Xk Yk Zk (as the TPS reader gives them).
// scale: N factors (a TPS record's SCALE=, 1 where it has none).
// Returns N x (3k + 1): the rows as they are, then centroid size times scale.
//
// Example:
//   withcentroidsize([0 0 0 3 4 0], [2])  -> [0 0 0 3 4 0 7.0711]   (size sqrt(12.5), times 2)

#include <Eigen/Core>

namespace tarvolin {

Eigen::MatrixXd withcentroidsize(const Eigen::MatrixXd& rows,
                                 const Eigen::Ref<const Eigen::VectorXd>& scale);

}  // namespace tarvolin
